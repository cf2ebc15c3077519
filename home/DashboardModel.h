#pragma once

#include "AppState.h"
#include "EventValue.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "RecordListModel.h"
#include "RoutesMapModel.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

// The reports a reviewer has put on hold, waiting for the member's evidence.
class HeldPirepsModel : public RecordListModel<Pirep>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles { IdRole = Qt::UserRole + 1, TitleRole, DetailRole };

    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const Pirep &report, int role) const override;
};

// The member's home page: greeting, the four figures, what they have to do, and the loads behind them.
class DashboardModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY inputsChanged REQUIRED)
    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY inputsChanged REQUIRED)
    Q_PROPERTY(MemberNavigation *navigation READ navigation WRITE setNavigation NOTIFY inputsChanged REQUIRED)

    Q_PROPERTY(QString displayName READ displayName NOTIFY memberChanged)
    Q_PROPERTY(QString greeting READ greeting NOTIFY memberChanged)
    Q_PROPERTY(QString callsignLine READ callsignLine NOTIFY memberChanged)
    Q_PROPERTY(QString approvedDuration READ approvedDuration NOTIFY figuresChanged)
    Q_PROPERTY(QString approvedCount READ approvedCount NOTIFY figuresChanged)
    Q_PROPERTY(QString pendingCount READ pendingCount NOTIFY figuresChanged)
    Q_PROPERTY(QString rankText READ rankText NOTIFY figuresChanged)
    Q_PROPERTY(bool profileIncomplete READ profileIncomplete NOTIFY todoChanged)
    Q_PROPERTY(bool showsTodo READ showsTodo NOTIFY todoChanged)
    Q_PROPERTY(QString todoSubtitle READ todoSubtitle NOTIFY todoChanged)
    Q_PROPERTY(HeldPirepsModel *heldPireps READ heldPireps CONSTANT)
    Q_PROPERTY(QString bellSymbol READ bellSymbol NOTIFY contentChanged)
    Q_PROPERTY(bool showsLoader READ showsLoader NOTIFY loadingChanged)
    Q_PROPERTY(QString profileError READ profileError NOTIFY loadingChanged)
    // How many reloads of the profile the member asked for ("重试") have failed: each is shown anew.
    Q_PROPERTY(int profileFailures READ profileFailures NOTIFY loadingChanged)
    Q_PROPERTY(int eventCount READ eventCount NOTIFY contentChanged)
    Q_PROPERTY(bool hasLatestFlight READ hasLatestFlight NOTIFY contentChanged)
    // The routes map's routes: the member's flown routes as loaded.
    Q_PROPERTY(FlownRoutes routes READ routes NOTIFY contentChanged)

public:
    explicit DashboardModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *state);
    MemberData *memberData() const { return m_data; }
    void setMemberData(MemberData *data);
    MemberNavigation *navigation() const { return m_navigation; }
    void setNavigation(MemberNavigation *navigation);

    QString displayName() const;
    QString greeting() const;
    QString callsignLine() const;
    QString approvedDuration() const;
    QString approvedCount() const;
    QString pendingCount() const;
    std::optional<int> rank() const;
    QString rankText() const;
    bool profileIncomplete() const;
    bool showsTodo() const;
    QString todoSubtitle() const;
    HeldPirepsModel *heldPireps() { return &m_held; }
    QString bellSymbol() const;
    bool showsLoader() const;
    QString profileError() const { return m_profileError.value_or(QString()); }
    int profileFailures() const { return m_profileFailures; }
    int eventCount() const { return m_data ? int(m_data->events().size()) : 0; }
    bool hasLatestFlight() const { return m_data && m_data->latestFlight().has_value(); }
    FlownRoutes routes() const { return {m_data ? m_data->routes() : QList<FlownRoute>()}; }

    // The reports on hold, in the reports' order.
    static QList<Pirep> held(const QList<Pirep> &reports);

    // The page's loads: the profile and the dashboard's loads together; nothing while they run. Never
    // throws.
    QCoro::Task<> refresh();
    // `asked`: by the member ("重试"), whose failure is the outcome of what he just did.
    QCoro::Task<> loadProfile(bool asked = false);
    Q_INVOKABLE void startRefresh() { refresh(); }
    Q_INVOKABLE void retryProfile() { loadProfile(true); }
    Q_INVOKABLE void openHeldPirep(int index);
    Q_INVOKABLE void openLatestFlight();
    Q_INVOKABLE void openEvent(int index);
    // The event of a card, for its summary and answer buttons.
    Q_INVOKABLE EventValue eventAt(int index) const;

Q_SIGNALS:
    // The objects the page works on; the member's name and callsign; the four figures; what they have to do;
    // the cards' contents (the bell, the events, the latest flight, the routes); the loader and the
    // profile's failure.
    void inputsChanged();
    void memberChanged();
    void figuresChanged();
    void todoChanged();
    void contentChanged();
    void loadingChanged();

private:
    enum Concern { Inputs = 1, Member = 2, Figures = 4, Todo = 8, Content = 16, Loading = 32 };
    // Tells what changed: each concern's signal.
    void tell(int concerns);
    // The reports on hold follow the member data's reports.
    void followPireps();

    QPointer<AppState> m_app;
    QPointer<MemberData> m_data;
    QPointer<MemberNavigation> m_navigation;
    std::optional<QString> m_profileError;
    int m_profileFailures = 0;
    bool m_refreshing = false;
    HeldPirepsModel m_held;
    Lifetime m_lifetime;
};
