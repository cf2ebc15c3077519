#pragma once

#include "AppState.h"
#include "Lifetime.h"
#include "MemberNavigation.h"
#include "RecordListModel.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QVariantList>

#include <optional>

// The rows of the queue, one card each.
class QueueList : public RecordListModel<Pirep>
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the queue's own list")

public:
    enum Roles {
        IdRole = Qt::UserRole + 1,
        ApplicantRole,
        StatusTitleRole,
        VerdictRole,
        RouteRole,
        EquipmentRole,
        DurationRole,
        SubmittedRole
    };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const Pirep &report, int role) const override;
};

// What a queue card shows of a report.
namespace QueueCard {
// The submission time; empty (not a dash) when absent or not above 0.
QString submitted(const Pirep &report);
} // namespace QueueCard

// The staff's queue of every flight report: two summary tiles, a filter with counts, the search and the
// reports of the chosen filter in the service's order. Everything is fetched again each time it shows.
class ReviewWorkbenchModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(QString filter READ filter WRITE setFilter NOTIFY shownChanged)
    Q_PROPERTY(int filterIndex READ filterIndex WRITE setFilterIndex NOTIFY shownChanged)
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY shownChanged)
    Q_PROPERTY(QVariantList filterOptions READ filterOptions NOTIFY shownChanged)
    Q_PROPERTY(QString pendingCount READ pendingCount NOTIFY shownChanged)
    Q_PROPERTY(QString inquiryCount READ inquiryCount NOTIFY shownChanged)
    Q_PROPERTY(QueueList *reports READ reports CONSTANT)
    Q_PROPERTY(QString heading READ heading NOTIFY shownChanged)
    Q_PROPERTY(QString countText READ countText NOTIFY shownChanged)
    Q_PROPERTY(bool showsEmpty READ showsEmpty NOTIFY shownChanged)
    Q_PROPERTY(QString emptyDescription READ emptyDescription NOTIFY shownChanged)
    Q_PROPERTY(bool showsLoader READ showsLoader NOTIFY shownChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY shownChanged)
    Q_PROPERTY(QString error READ error NOTIFY shownChanged)
    // How many loads the member asked for (the refresh, "重试") have failed: each failure is shown anew.
    Q_PROPERTY(int failures READ failures NOTIFY shownChanged)
    Q_PROPERTY(QString staffName READ staffName NOTIFY staffChanged)
    Q_PROPERTY(QString roleLabel READ roleLabel NOTIFY staffChanged)
    // What the staff member's last review saved, said above the queue it went back to.
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged)

public:
    explicit ReviewWorkbenchModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *app);

    // The filter keys in their order: "pending", "inquiry", "approved", "rejected".
    static const QStringList &filterKeys();
    static bool belongs(const Pirep &report, const QString &key);

    QString filter() const { return m_filter; }
    void setFilter(const QString &key);
    int filterIndex() const { return int(filterKeys().indexOf(m_filter)); }
    void setFilterIndex(int index);
    QString search() const { return m_search; }
    void setSearch(const QString &search);
    QVariantList filterOptions() const;

    const QList<Pirep> &pireps() const { return m_pireps; }
    int count(const QString &key) const;
    QList<Pirep> visible() const;
    QString pendingCount() const;
    QString inquiryCount() const;
    QueueList *reports() { return &m_rows; }
    QString heading() const;
    QString countText() const;
    bool showsEmpty() const { return !m_loading && m_rows.rowCount() == 0 && !m_error; }
    QString emptyDescription() const;
    bool showsLoader() const { return m_loading && m_pireps.isEmpty(); }
    bool loading() const { return m_loading; }
    QString error() const { return m_error.value_or(QString()); }
    int failures() const { return m_failures; }
    QString staffName() const;
    QString roleLabel() const;
    QString notice() const { return m_notice; }
    void setNotice(const QString &notice);
    // The report of a row's id, for the review page it opens.
    std::optional<Pirep> report(const QString &id) const;

    // The page showed, first or again (back from a review, back on its tab): the list and the staff
    // member's avatar together; a load that runs is not started twice.
    Q_INVOKABLE void appear();
    // The review of the queue's report of that id, on top of the home tab's stack.
    Q_INVOKABLE void openReview(MemberNavigation *navigation, const QString &reportId);
    // The refresh button and the retry.
    Q_INVOKABLE void refresh() { load(true); }
    // `asked`: by the member, whose failure is the outcome of what he just did.
    QCoro::Task<> load(bool asked = false);
    QCoro::Task<> loadAvatar();

Q_SIGNALS:
    void appStateChanged();
    void shownChanged();
    void staffChanged();
    void noticeChanged();

private:
    void show();

    QPointer<AppState> m_app;
    QList<Pirep> m_pireps;
    QString m_filter = QStringLiteral("pending");
    QString m_search;
    QueueList m_rows;
    std::optional<QString> m_error;
    int m_failures = 0;
    QString m_notice;
    bool m_loading = false;
    bool m_avatarLoading = false;
    Lifetime m_lifetime; // last: ends first
};
