#pragma once

#include "APIClient.h"
#include "CommunityRecords.h"
#include "Lifetime.h"
#include "MemberData.h"
#include "MemberInputs.h"
#include "RecordListModel.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <optional>

// One merged row of the reviewers board.
struct Reviewer
{
    QString key; // what rows merge on
    QString name;
    qint64 reviews = 0;

    bool operator==(const Reviewer &) const = default;
};

// One row as the board shows it, whatever the board: the texts are ready to draw.
struct LeaderboardRow
{
    int rank = 1;
    QString title;            // the member's, airport's or reviewer's name; the fleet card's aircraft
    QString caption;          // the member's time and landings, the airport code, the fleet card's livery
    QString flag;             // the airport's country flag, when it has one
    QString trailing;         // the count at the row's end
    bool highlighted = false; // the signed-in member's own row
    // Fleet cards only.
    QString aircraft;
    QString livery;
    QString duration;
    QString landings;

    bool operator==(const LeaderboardRow &) const = default;
};

class LeaderboardRows : public RecordListModel<LeaderboardRow>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles {
        RankRole = Qt::UserRole + 1,
        TitleRole,
        CaptionRole,
        FlagRole,
        TrailingRole,
        HighlightedRole,
        AircraftRole,
        LiveryRole,
        DurationRole,
        LandingsRole,
        MedalRole
    };

    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const LeaderboardRow &row, int role) const override;
};

// The leaderboard page: four boards of one answer, for all time (the member data's load) or the recent
// 30 days (the page's own load), members and fleet ranked by time or landings.
class LeaderboardModel : public QObject, public MemberInputs
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY inputsChanged REQUIRED)
    Q_PROPERTY(APIClient *client READ client WRITE setClient NOTIFY inputsChanged REQUIRED)
    // The signed-in member, whose row stands out; empty when nobody is signed in.
    Q_PROPERTY(QString username READ username WRITE setUsername NOTIFY inputsChanged)
    Q_PROPERTY(Board board READ board WRITE setBoard NOTIFY choiceChanged)
    Q_PROPERTY(Period period READ period WRITE setPeriod NOTIFY choiceChanged)
    Q_PROPERTY(Metric metric READ metric WRITE setMetric NOTIFY choiceChanged)
    // The pickers' options: {title, value} in the order shown.
    Q_PROPERTY(QVariantList boards READ boards CONSTANT)
    Q_PROPERTY(QVariantList periods READ periods CONSTANT)
    Q_PROPERTY(QVariantList metrics READ metrics CONSTANT)

    Q_PROPERTY(LeaderboardRows *rows READ rows CONSTANT)
    Q_PROPERTY(int count READ count NOTIFY contentChanged)
    Q_PROPERTY(bool showsMetric READ showsMetric NOTIFY choiceChanged)
    Q_PROPERTY(QString note READ note NOTIFY contentChanged)
    Q_PROPERTY(QString failure READ failureText NOTIFY contentChanged)
    // How many of the member's own reloads of the recent period (a refresh, a retry) have failed: each is
    // presented anew, also with the text of the last.
    Q_PROPERTY(int failures READ failures NOTIFY contentChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY contentChanged)
    Q_PROPERTY(bool hasAnswer READ hasAnswer NOTIFY contentChanged)
    Q_PROPERTY(bool showsLoader READ showsLoader NOTIFY contentChanged)
    Q_PROPERTY(bool showsEmpty READ showsEmpty NOTIFY contentChanged)
    Q_PROPERTY(QString emptyTitle READ emptyTitle NOTIFY contentChanged)
    Q_PROPERTY(QString emptySymbol READ emptySymbol NOTIFY contentChanged)
    Q_PROPERTY(QString emptyDescription READ emptyDescription NOTIFY contentChanged)

public:
    enum Board { Members, Fleet, Airports, Reviews };
    Q_ENUM(Board)
    enum Period { Total, Recent };
    Q_ENUM(Period)
    enum Metric { Time, Landings };
    Q_ENUM(Metric)

    explicit LeaderboardModel(QObject *parent = nullptr);

    void setMemberData(MemberData *data);
    void setClient(APIClient *client);
    void setUsername(const QString &username);
    Board board() const { return m_board; }
    void setBoard(Board board);
    Period period() const { return m_period; }
    void setPeriod(Period period);
    Metric metric() const { return m_metric; }
    void setMetric(Metric metric);
    static QVariantList boards();
    static QVariantList periods();
    static QVariantList metrics();

    LeaderboardRows *rows() { return &m_rows; }
    int count() const { return m_rows.rowCount(); }
    bool showsMetric() const { return m_board == Members || m_board == Fleet; }
    QString note() const;
    // The shown period's answer, its failure and whether it is loading.
    const std::optional<LeaderboardResponse> &current() const;
    std::optional<QString> failure() const;
    QString failureText() const { return failure().value_or(QString()); }
    int failures() const { return m_failures; }
    bool loading() const;
    bool hasAnswer() const { return current().has_value(); }
    bool showsLoader() const { return !hasAnswer() && loading(); }
    bool showsEmpty() const { return hasAnswer() && m_rows.rowCount() == 0; }
    QString emptyTitle() const;
    QString emptySymbol() const;
    QString emptyDescription() const;

    // The page came on screen: the all-time answer again, and the recent one when it is shown and missing.
    Q_INVOKABLE void appear();
    // The shown period's answer again (refresh and retry).
    Q_INVOKABLE void retry() { reload(); }
    QCoro::Task<> reload();
    // The recent answer into the page's state, as the shown period's own run.
    QCoro::Task<> loadRecent();

    // After ordering: 1 for the first row, the rank above for a value equal to the one above, else the
    // row's position.
    static QList<int> competitionRanks(const QList<double> &values);
    // The disc of ranks 1 to 3: gold, silver, bronze; none (invalid) for any other.
    static QColor medalTint(int rank);
    // Fleet rows of one aircraft and livery, in any letter case and with surrounding spaces, as one.
    static QList<FleetTotal> combined(const QList<FleetTotal> &rows);
    // A name without surrounding spaces and an "admin" or "dev" ending; a name that is nothing but that
    // ending stays as it came.
    static QString cleanedName(const QString &name);
    // Reviewer rows merged by cleaned user name, most reviews first.
    static QList<Reviewer> people(const QList<ReviewerTotal> &rows, bool recent);

Q_SIGNALS:
    // The member's objects; the board, period and metric shown; what the shown board holds.
    void inputsChanged();
    void choiceChanged();
    void contentChanged();

private:
    void update();
    // Starts the recent load when the recent period shows without its answer; a change of period ends
    // the one left behind.
    void followPeriod();
    // Loading ends and nothing is kept when the run's guard ends first; a failure of a load the member asked
    // for is counted.
    QCoro::Task<> loadRecentWith(Lifetime::Guard run, bool asked = false);
    QList<LeaderboardRow> members(const QList<LeaderboardMember> &rows) const;
    QList<LeaderboardRow> fleet(const QList<FleetTotal> &rows) const;
    static QList<LeaderboardRow> airports(const QList<AirportTotal> &rows);
    static QList<LeaderboardRow> reviewers(const QList<Reviewer> &rows);

    Board m_board = Members;
    Period m_period = Total;
    Metric m_metric = Time;
    std::optional<LeaderboardResponse> m_recent;
    std::optional<QString> m_recentError;
    bool m_recentLoading = false;
    int m_failures = 0;
    LeaderboardRows m_rows;
    Lifetime m_periodRun; // the recent load the shown period started
    Lifetime m_lifetime;  // last: ends first
};
