#pragma once

#include "APIClient.h"
#include "AppState.h"
#include "Lifetime.h"
#include "LiveBoardCards.h"
#include "LiveFleetItem.h"
#include "LiveScheduleRecords.h"
#include "Outcome.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QTimer>
#include <QUrl>
#include <QUuid>

#include <chrono>
#include <functional>
#include <optional>

// The Live page: whether the member's Infinite Flight account is linked, the fleet board of the
// organisations it shares with the aircraft's positions, last pilots and routes, the member's schedule
// applications page by page, linking and unlinking, and the board dropped once it has grown stale.
//
// One operation runs at a time (`busy`), except that a confirmed disconnect starts even while another runs;
// each operation starts a new run, and what an older run brings back afterwards is thrown away, so a load
// that ends after a successful disconnect cannot show the page linked again.
class LiveTabModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(bool authorized READ authorized NOTIFY linkChanged)
    Q_PROPERTY(bool canReview READ canReview NOTIFY linkChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(QString message READ messageText NOTIFY messageChanged)
    // How many of the member's own steps here (linking, unlinking, the next page) have failed: each failure
    // is shown anew, also with the same text.
    Q_PROPERTY(int failures READ failures NOTIFY messageChanged)
    Q_PROPERTY(bool hasBoard READ hasBoard NOTIFY boardChanged)
    Q_PROPERTY(QString summary READ summary NOTIFY boardChanged)
    Q_PROPERTY(bool noOrganizations READ noOrganizations NOTIFY boardChanged)
    Q_PROPERTY(LiveFleetSections *sections READ sections CONSTANT)
    Q_PROPERTY(LiveApplicationCards *applications READ applications CONSTANT)
    Q_PROPERTY(int applicationCount READ applicationCount NOTIFY applicationsChanged)
    Q_PROPERTY(bool hasMore READ hasMore NOTIFY applicationsChanged)
    Q_PROPERTY(QString emptyApplicationsText READ emptyApplicationsText NOTIFY linkChanged)
    Q_PROPERTY(QVariantList tabs READ tabs NOTIFY tabsChanged)
    Q_PROPERTY(Board tab READ tab WRITE setTab NOTIFY tabChanged)
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY searchChanged)
    Q_PROPERTY(QVariant avatar READ avatarValue NOTIFY avatarChanged)
    Q_PROPERTY(bool hasAvatar READ hasAvatar NOTIFY avatarChanged)
    Q_PROPERTY(bool authorizing READ authorizing NOTIFY authorizationChanged)
    Q_PROPERTY(QUrl authorizationUrl READ authorizationUrl NOTIFY authorizationChanged)
    Q_PROPERTY(QString authorizationKey READ authorizationKey NOTIFY authorizationChanged)
    Q_PROPERTY(bool confirmDisconnect READ confirmDisconnect WRITE setConfirmDisconnect NOTIFY
                   confirmDisconnectChanged)
    // What stands under the header: the connect card, the loader, the boards.
    Q_PROPERTY(bool showsConnectCard READ showsConnectCard NOTIFY layoutChanged)
    Q_PROPERTY(bool showsLoader READ showsLoader NOTIFY layoutChanged)
    Q_PROPERTY(bool showsBoards READ showsBoards NOTIFY layoutChanged)
    // The Live tab shows, this page or one opened from it: the board's age is checked once a minute.
    Q_PROPERTY(bool tabShown READ tabShown WRITE setTabShown NOTIFY tabShownChanged)

public:
    enum Board { Fleet, Applications };
    Q_ENUM(Board)

    using Clock = std::function<QDateTime()>;
    // A board fetched this long ago is dropped; the page looks once a minute.
    static constexpr std::chrono::seconds staleAfter{3600};
    static constexpr std::chrono::seconds staleCheckInterval{60};

    explicit LiveTabModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *app);
    // The time the page reads: when a board was fetched, the ages of the last pilots, the staleness check.
    void setClock(Clock clock);

    bool authorized() const { return m_authorized; }
    // A reviewer: staff ("admin", "developer") whom the held board allows to review.
    bool canReview() const;
    bool busy() const { return m_busy; }
    const std::optional<QString> &message() const { return m_message; }
    QString messageText() const { return m_message.value_or(QString()); }
    int failures() const { return m_failures; }
    const std::optional<LiveBoard> &board() const { return m_board; }
    bool hasBoard() const { return m_board.has_value(); }
    bool noOrganizations() const { return m_board && m_board->organizations.isEmpty(); }
    QDateTime fetchedAt() const { return m_fetchedAt; }
    const QList<LiveApplication> &applicationList() const { return m_applications; }
    int page() const { return m_page; }
    bool hasMore() const { return m_hasMore; }
    const LiveFleetExtras &extras() const { return m_extras; }
    QImage avatar() const { return m_avatar; }
    QVariant avatarValue() const { return m_avatar.isNull() ? QVariant() : QVariant(m_avatar); }
    bool hasAvatar() const { return !m_avatar.isNull(); }

    // The fleet, one item per aircraft of each organisation, in the board's order.
    QList<LiveFleetItem> fleet() const;
    // The item a card of the fleet board stands for; none when the board no longer holds it.
    std::optional<LiveFleetItem> fleetItem(const QString &id) const;
    // The application a card of the applications board stands for.
    std::optional<LiveApplication> application(const QString &id) const;
    // The same, as the aircraft page and the review take them; undefined when the board no longer has it.
    Q_INVOKABLE QVariant fleetItemValue(const QString &id) const;
    Q_INVOKABLE QVariant applicationValue(const QString &id) const;
    QString summary() const;
    LiveFleetSections *sections() { return &m_sections; }
    LiveApplicationCards *applications() { return &m_applicationCards; }
    int applicationCount() const { return int(m_applications.size()); }
    QString emptyApplicationsText() const;
    QVariantList tabs() const;
    Board tab() const { return m_tab; }
    void setTab(Board tab);
    QString search() const { return m_search; }
    void setSearch(const QString &search);
    bool authorizing() const { return m_authorization.has_value(); }
    QUrl authorizationUrl() const { return m_authorization ? m_authorization->url : QUrl(); }
    QString authorizationKey() const { return m_authorization ? m_authorization->id.toString() : QString(); }
    bool confirmDisconnect() const { return m_confirmDisconnect; }
    void setConfirmDisconnect(bool shown);
    bool showsConnectCard() const { return !m_authorized && !m_busy; }
    bool showsLoader() const { return m_busy && !m_board; }
    bool showsBoards() const { return m_board && m_authorized; }
    bool tabShown() const { return m_staleCheck.isActive(); }
    void setTabShown(bool shown);

    // The link check, then the board, the first page of applications, positions, routes and the avatar.
    QCoro::Task<> load();
    // Asks for the vendor's sign-in page and opens the authorisation sheet on it.
    QCoro::Task<> connectAccount();
    // Unlinks the account; runs even while another operation does, and wins over it.
    QCoro::Task<> disconnect();
    // The next page of applications, appended.
    QCoro::Task<> more();
    // Drops the board once it was fetched `staleAfter` or more before `now`.
    Q_INVOKABLE void staleTick(const QDateTime &now);

    // The vendor's sign-in address, if it is one: https on the vendor's API host, both as written.
    static std::optional<QUrl> authorizationAddress(const QString &text);
    // The list after a further page: the page's applications whose ids were not listed before it, in its
    // order, each copy of an id the page itself repeats.
    static QList<LiveApplication> appendPage(QList<LiveApplication> listed,
                                             const QList<LiveApplication> &page);

    // A load of this page for a page opened from it to await; it does nothing once this page has gone.
    std::function<QCoro::Task<>()> reloader();

    // For the view: each starts its operation and returns at once. The page loads on each of its
    // refreshes and each time it comes on screen, back from a page opened from it too.
    Q_INVOKABLE void refresh() { load(); }
    Q_INVOKABLE void startConnect() { connectAccount(); }
    Q_INVOKABLE void confirmDisconnection() { disconnect(); }
    Q_INVOKABLE void loadMore() { more(); }
    // The authorisation sheet's end: the browser's completion, or its cancel control.
    Q_INVOKABLE void authorizationSucceeded();
    Q_INVOKABLE void authorizationFailed(const QString &message);
    Q_INVOKABLE void cancelAuthorization();

Q_SIGNALS:
    void appStateChanged();
    void linkChanged();
    void busyChanged();
    void messageChanged();
    void boardChanged();
    void applicationsChanged();
    void tabsChanged();
    void tabChanged();
    void searchChanged();
    void avatarChanged();
    void authorizationChanged();
    void confirmDisconnectChanged();
    void layoutChanged();
    void tabShownChanged();

private:
    struct Authorization
    {
        QUuid id;
        QUrl url;
    };

    QPointer<APIClient> client() const;
    QDateTime now() const { return m_clock(); }
    void setBusy(bool busy);
    void setMessage(std::optional<QString> message);
    // One of the member's own steps failed with this text.
    void fail(const QString &message);
    void setAuthorized(bool authorized);
    void setBoard(std::optional<LiveBoard> board);
    void setApplications(QList<LiveApplication> applications, int page, bool hasMore);
    void setAvatar(QImage avatar);
    void setAuthorization(std::optional<Authorization> authorization);
    void updateSections();
    // The page's answer to a failed link check, board or first page; a cancellation leaves no trace.
    template <typename T>
    void failLoad(const Outcome<T> &outcome);

    QPointer<AppState> m_app;
    Clock m_clock;
    LiveFleetExtras m_extras;
    QDateTime m_fetchedAt; // invalid: no board fetched yet
    std::optional<LiveBoard> m_board;
    QList<LiveApplication> m_applications;
    bool m_hasMore = false;
    int m_page = 1;
    bool m_authorized = false;
    bool m_busy = false;
    std::optional<QString> m_message;
    int m_failures = 0;
    std::optional<Authorization> m_authorization;
    QString m_search;
    Board m_tab = Fleet;
    QImage m_avatar;
    bool m_confirmDisconnect = false;
    LiveFleetSections m_sections;
    LiveApplicationCards m_applicationCards;
    QTimer m_staleCheck;
    Lifetime m_operation; // last: ends first; restarted by each operation
};
