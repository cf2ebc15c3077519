#pragma once

#include "AppState.h"
#include "Lifetime.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "NoticeListModel.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QSet>
#include <QSettings>

#include <QCoro/QCoroTask>

#include <chrono>

class ReloadSchedule;

// Which page a notice opens.
namespace NoticePageKind {
Q_NAMESPACE
QML_ELEMENT

enum Kind { EventPage, PirepPage, DetailPage };
Q_ENUM_NS(Kind)

} // namespace NoticePageKind

// The page a notice opens: the event's or the report's (by record id), or the notice's own detail page
// with its texts. An empty notice id means there is nothing to open.
class NoticePage
{
    Q_GADGET
    QML_VALUE_TYPE(noticePage)
    Q_PROPERTY(NoticePageKind::Kind kind MEMBER kind)
    Q_PROPERTY(QString noticeId MEMBER noticeId)
    Q_PROPERTY(QString recordId MEMBER recordId)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString detail MEMBER detail)
    Q_PROPERTY(QString time MEMBER time)

public:
    NoticePageKind::Kind kind = NoticePageKind::DetailPage;
    QString noticeId;
    QString recordId;
    QString title;
    QString detail;
    QString time;

    bool operator==(const NoticePage &) const = default;
};

// The notification inbox: the unread notices, what each opens, marking read (one, all, and the pages
// opened since the inbox was last on screen), the loads while it is on screen with a reload every minute
// while the application is active and one on each activation, and the one-time hand-over of the read
// marks earlier versions kept on this machine.
class MemberNotificationsModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *app READ app WRITE setApp NOTIFY appChanged REQUIRED)
    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY memberDataChanged REQUIRED)
    Q_PROPERTY(NoticeListModel *unread READ unread CONSTANT)
    Q_PROPERTY(bool marking READ marking NOTIFY markingChanged)
    Q_PROPERTY(bool canMarkAll READ canMarkAll NOTIFY canMarkAllChanged)
    Q_PROPERTY(bool showsEmpty READ showsEmpty NOTIFY showsEmptyChanged)
    Q_PROPERTY(bool refreshing READ refreshing NOTIFY refreshingChanged)
    // How many read marks the member sent have failed: each failure is shown anew in the inbox's notice, also
    // with the same text.
    Q_PROPERTY(int failures READ failures NOTIFY failuresChanged)

public:
    static constexpr std::chrono::seconds reloadInterval{60};

    explicit MemberNotificationsModel(QObject *parent = nullptr);
    ~MemberNotificationsModel() override;

    AppState *app() const { return m_app; }
    void setApp(AppState *app);
    MemberData *memberData() const { return m_data; }
    void setMemberData(MemberData *data);

    // Where the flag and the marks are read; the app's settings unless a test hands its own.
    void setSettings(QSettings *settings) { m_settings = settings; }
    // The clock and application state of the periodic reload; the real ones unless a test hands its own.
    void setSchedule(ReloadSchedule *schedule);

    NoticeListModel *unread() { return &m_unread; }
    // The unread notices, in the inbox's order; none while no inbox has loaded.
    QList<SiteNotice> unreadNotices() const;
    bool marking() const { return m_marking; }
    bool canMarkAll() const { return !m_marking && m_unread.count() > 0; }
    // The inbox has loaded and nothing in it is unread.
    bool showsEmpty() const;
    bool refreshing() const { return m_refreshing; }
    int failures() const { return m_failures; }
    bool isShown() const { return m_shown; }
    const QSet<QString> &opened() const { return m_opened; }

    // The screen came on screen: sends the pages opened meanwhile, then loads the inbox with the reports
    // and events, hands the local read marks over once, and starts the minute's wait. The task ends
    // there (or earlier when the screen left meanwhile).
    QCoro::Task<> show();
    // The screen went off screen (covered by a page it opened, or left): its loads and waits stop.
    void hide();

    // What the notice opens, chosen by what the member data holds now; the notice counts as opened.
    NoticePage open(const QString &noticeId);
    NoticePage pageFor(const SiteNotice &notice) const;

    QCoro::Task<> markRead(QString noticeId);
    QCoro::Task<> markAllRead();
    // Sends read marks (those ids, or all); a failure is counted among the member's.
    QCoro::Task<> sendReadMarks(QList<QString> ids, bool all);
    QCoro::Task<> refresh();
    QCoro::Task<> migrateLocalReadReceipts();

    // The view's entry points, which start the operations above.
    Q_INVOKABLE void appear();
    Q_INVOKABLE void disappear();
    Q_INVOKABLE NoticePage openNotice(const QString &noticeId) { return open(noticeId); }
    // Opens what the notice opens on top of that stack: its event's page, its report's detail, or its own.
    Q_INVOKABLE void openNoticePage(MemberNavigation *navigation, NavigationStacks::Stack stack,
                                    const QString &noticeId);
    Q_INVOKABLE void startMarkRead(const QString &noticeId);
    Q_INVOKABLE void startMarkAllRead();
    Q_INVOKABLE void startRefresh();

Q_SIGNALS:
    void appChanged();
    void memberDataChanged();
    void markingChanged();
    void canMarkAllChanged();
    void failuresChanged();
    void showsEmptyChanged();
    void refreshingChanged();

private:
    ReloadSchedule &schedule();
    void inboxChanged();
    void waitEnded();
    void applicationStateChanged(Qt::ApplicationState state);
    QCoro::Task<> reloadAndWait(Lifetime::Guard stay);
    void sendOpened();
    std::optional<SiteNotice> notice(const QString &noticeId) const;

    QPointer<AppState> m_app;
    QPointer<MemberData> m_data;
    QPointer<QSettings> m_settings;
    QPointer<ReloadSchedule> m_schedule;
    NoticeListModel m_unread;
    QSet<QString> m_opened;
    bool m_marking = false;
    bool m_refreshing = false;
    int m_failures = 0;
    bool m_shown = false;
    bool m_showsEmpty = false; // as last published
    // Last, so they end first: the model's own, and the screen's current stay on screen, whose steps end
    // quietly once it has left.
    Lifetime m_lifetime;
    Lifetime m_stay;
};
