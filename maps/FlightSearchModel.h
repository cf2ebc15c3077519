#pragma once

#include "FlightRecords.h"
#include "LiveMapValues.h"
#include "RecordListModel.h"

#include <QObject>
#include <QQmlEngine>
#include <QStringList>

// The flight search of the live map: the snapshot's flights by callsign or the pilot's community name,
// narrowed by aircraft and livery.
namespace FlightSearch {

// The query lower-cased and cut at every space (U+0020); empty pieces are dropped, other white space
// stays inside its token.
QStringList tokens(const QString &query);

// Every token is in the flight's lower-cased callsign and pilot joined by one space; the aircraft and
// livery, when chosen, are the flight's exactly.
bool matches(const LiveFlight &flight, const QStringList &tokens, const QString &aircraft,
             const QString &livery);

// The flights that match, sorted by callsign (a missing one as the empty text); equal callsigns keep the
// order they came in.
QList<LiveFlight> results(const QList<LiveFlight> &flights, const QString &query, const QString &aircraft,
                          const QString &livery);

// The distinct names the pickers offer, in plain string order; missing and empty names are not offered.
// The liveries are those of the chosen aircraft's flights (all flights' when none is chosen).
QStringList aircraftOptions(const QList<LiveFlight> &flights);
QStringList liveryOptions(const QList<LiveFlight> &flights, const QString &aircraft);

// "Airbus A321 · China Eastern" of those present; the empty text without both.
QString detail(const LiveFlight &flight);

} // namespace FlightSearch

// The rows of the search, one per matching flight.
class FlightSearchRows : public RecordListModel<LiveFlight>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles { IdRole = Qt::UserRole + 1, CallsignRole, PilotRole, DetailRole };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const LiveFlight &flight, int role) const override;
};

// The search sheet's state: its text and the two filters live as long as the sheet, so each presentation
// starts empty. It neither loads nor selects anything: a pick goes back to the map.
class FlightSearchModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(LiveFlightList flights READ flights WRITE setFlights NOTIFY flightsChanged)
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    // The empty text: every aircraft (livery).
    Q_PROPERTY(QString aircraft READ aircraft WRITE setAircraft NOTIFY filterChanged)
    Q_PROPERTY(QString livery READ livery WRITE setLivery NOTIFY filterChanged)
    // The pickers' choices: the empty text ("全部") first, then the options. Told only when they change, not
    // with every snapshot: an open picker keeps its place and the keyboard's.
    Q_PROPERTY(QList<QString> aircraftChoices READ aircraftChoices NOTIFY aircraftChoicesChanged)
    Q_PROPERTY(QList<QString> liveryChoices READ liveryChoices NOTIFY liveryChoicesChanged)
    Q_PROPERTY(bool filtered READ filtered NOTIFY filterChanged)
    Q_PROPERTY(FlightSearchRows *results READ results CONSTANT)
    Q_PROPERTY(bool noResults READ noResults NOTIFY resultsChanged)

public:
    explicit FlightSearchModel(QObject *parent = nullptr);

    LiveFlightList flights() const { return m_flights; }
    void setFlights(const LiveFlightList &flights);
    QString query() const { return m_query; }
    void setQuery(const QString &query);
    QString aircraft() const { return m_aircraft; }
    // A livery that none of the new aircraft's flights has goes back to every livery.
    void setAircraft(const QString &aircraft);
    QString livery() const { return m_livery; }
    void setLivery(const QString &livery);
    QStringList aircraftOptions() const { return FlightSearch::aircraftOptions(m_flights.flights); }
    QStringList liveryOptions() const { return FlightSearch::liveryOptions(m_flights.flights, m_aircraft); }
    QList<QString> aircraftChoices() const { return m_aircraftChoices; }
    QList<QString> liveryChoices() const { return m_liveryChoices; }
    bool filtered() const { return !m_aircraft.isEmpty() || !m_livery.isEmpty(); }
    FlightSearchRows *results() { return &m_results; }
    bool noResults() const { return m_results.rowCount() == 0; }

    Q_INVOKABLE void clearFilters();
    // The flight of a result row, to hand to the map.
    Q_INVOKABLE LiveFlightValue flightAt(int row) const;

Q_SIGNALS:
    void flightsChanged();
    void queryChanged();
    void filterChanged();
    void aircraftChoicesChanged();
    void liveryChoicesChanged();
    void resultsChanged();

private:
    // The pickers' choices after a change of the flights or the aircraft, each told when it changed.
    void updateChoices();
    // The results after a change of the flights, the query or the filters.
    void search();

    LiveFlightList m_flights;
    QList<QString> m_aircraftChoices{QString()};
    QList<QString> m_liveryChoices{QString()};
    QString m_query;
    QString m_aircraft;
    QString m_livery;
    FlightSearchRows m_results;
};

// The member's own flights as the picker lists them, in the order given, with their texts ready.
class OwnFlightRows : public RecordListModel<LiveFlight>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles {
        IdRole = Qt::UserRole + 1,
        CallsignRole,
        ServerRole,
        RouteRole,
        HasPhaseRole,
        PhaseTitleRole,
        PhaseSymbolRole,
        PhaseColorRole
    };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

    // "ZSPD → RJTT", each end "—" when missing.
    static QString route(const LiveFlight &flight);

protected:
    QVariant value(const LiveFlight &flight, int role) const override;
};

// The own-flights picker's model: the flights it is given as rows, and the flight of a picked row.
class OwnFlightsModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(LiveFlightList flights READ flights WRITE setFlights NOTIFY flightsChanged)
    Q_PROPERTY(OwnFlightRows *rows READ rows CONSTANT)

public:
    explicit OwnFlightsModel(QObject *parent = nullptr);

    LiveFlightList flights() const { return {m_rows.records()}; }
    void setFlights(const LiveFlightList &flights);
    OwnFlightRows *rows() { return &m_rows; }

    Q_INVOKABLE LiveFlightValue flightAt(int row) const;

Q_SIGNALS:
    void flightsChanged();

private:
    OwnFlightRows m_rows;
};
