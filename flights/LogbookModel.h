#pragma once

#include "MemberData.h"
#include "MemberNavigation.h"
#include "RecordListModel.h"
#include "RoutesMapModel.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QVariantList>

#include <optional>

// Reports as their rows show them: every text of a row is made here, the view only lays it out.
class PirepList : public RecordListModel<Pirep>
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("a model's own list")

public:
    enum Roles {
        IdRole = Qt::UserRole + 1,
        FromRole,
        ToRole,
        CaptionRole,
        VerdictRole,
        StatusTitleRole,
        AircraftRole,
        LiveryRole,
        MultiplierRole, // empty: no chip
        DayRole,        // empty: no date
        ReasonRole,     // empty: no reason block
        AccessibleRole,
    };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const Pirep &report, int role) const override;
};

// The logbook's records page: the member's reports through a status filter and a search, with the
// page's loads; and the map page's flown routes with their load.
class LogbookModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY memberDataChanged REQUIRED)
    Q_PROPERTY(int filter READ filter WRITE setFilter NOTIFY filterChanged)
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY searchChanged)
    Q_PROPERTY(QVariantList filters READ filters CONSTANT)
    Q_PROPERTY(PirepList *records READ records CONSTANT)
    Q_PROPERTY(int count READ count NOTIFY recordsChanged)
    Q_PROPERTY(QString countText READ countText NOTIFY recordsChanged)
    // The loader over the page: a load runs and nothing passes to show.
    Q_PROPERTY(bool showsLoader READ showsLoader NOTIFY stateChanged)
    // The empty card: the reports have come at least once and none passes.
    Q_PROPERTY(bool showsEmpty READ showsEmpty NOTIFY stateChanged)
    Q_PROPERTY(bool routesLoading READ routesLoading NOTIFY stateChanged)
    // The map page's routes, and its loader: the routes load and none has come yet.
    Q_PROPERTY(FlownRoutes routes READ routes NOTIFY routesChanged)
    Q_PROPERTY(bool showsRoutesLoader READ showsRoutesLoader NOTIFY stateChanged)

public:
    enum Filter { All, Pending, Inquiry, Approved, Rejected };
    Q_ENUM(Filter)

    explicit LogbookModel(QObject *parent = nullptr);

    MemberData *memberData() const { return m_data; }
    void setMemberData(MemberData *data);
    int filter() const { return m_filter; }
    void setFilter(int filter);
    QString search() const { return m_search; }
    void setSearch(const QString &search);
    static QVariantList filters();
    PirepList *records() { return &m_records; }
    int count() const { return m_records.rowCount(); }
    QString countText() const;
    bool showsLoader() const;
    bool showsEmpty() const;
    bool routesLoading() const;
    FlownRoutes routes() const { return {m_data ? m_data->routes() : QList<FlownRoute>()}; }
    bool showsRoutesLoader() const { return routesLoading() && (!m_data || m_data->routes().isEmpty()); }

    // The filter's value as the reports' status names it ("inquiry" for a held pending report).
    static QString filterValue(Filter filter);
    // Whether a report passes a filter value and a search, as the records page shows them.
    static bool passes(const Pirep &report, const QString &filterValue, const QString &search);

    // The report of a row, for the shell to open its detail.
    std::optional<Pirep> report(int row) const;
    // The detail of a row's report, pushed on the stack the list stands in.
    Q_INVOKABLE void openPirep(MemberNavigation *navigation, NavigationStacks::Stack stack, int row) const;

    // The records page came on screen: loads the reports unless they came before.
    Q_INVOKABLE void showRecords();
    // The map page came on screen: loads the routes unless they came before.
    Q_INVOKABLE void showRoutes();
    Q_INVOKABLE void reloadPireps();
    // Leaving the records page forgets its filter and search.
    Q_INVOKABLE void startOver();
    Q_INVOKABLE void reloadRoutes();

Q_SIGNALS:
    void memberDataChanged();
    void filterChanged();
    void searchChanged();
    void recordsChanged();
    void stateChanged();
    void routesChanged();

private:
    void select();
    void loadUnlessLoaded(MemberLoad::Kind load);

    QPointer<MemberData> m_data;
    Filter m_filter = All;
    QString m_search;
    PirepList m_records;
};
