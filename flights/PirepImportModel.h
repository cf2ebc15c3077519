#pragma once

#include "APIClient.h"
#include "FlightRecords.h"
#include "Lifetime.h"
#include "RecordListModel.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <optional>

// The member's recent simulator flights, one row each, in the service's order and with their texts ready.
class RecentFlightRows : public RecordListModel<RecentFlight>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles {
        FromRole = Qt::UserRole + 1,
        ToRole,
        DurationRole,
        AircraftRole,
        LiveryRole,
        DetailRole,
        DateRole
    };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

    // "aircraft · livery · callsign" of those present.
    static QString detail(const RecentFlight &flight);

protected:
    QVariant value(const RecentFlight &flight, int role) const override;
};

// The flight import picker of the report form: asks the service afresh each time it is shown.
class PirepImportModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(APIClient *client READ client WRITE setClient NOTIFY clientChanged REQUIRED)
    Q_PROPERTY(RecentFlightRows *flights READ flights CONSTANT)
    Q_PROPERTY(bool loading READ loading NOTIFY stateChanged)
    Q_PROPERTY(QString error READ error NOTIFY stateChanged)
    Q_PROPERTY(bool showsEmpty READ showsEmpty NOTIFY stateChanged)

public:
    explicit PirepImportModel(QObject *parent = nullptr);

    APIClient *client() const { return m_client; }
    void setClient(APIClient *client);
    RecentFlightRows *flights() { return &m_flights; }
    bool loading() const { return m_loading; }
    QString error() const { return m_error.value_or(QString()); }
    bool showsEmpty() const { return !m_loading && !m_error && m_flights.rowCount() == 0; }
    std::optional<RecentFlight> flight(int row) const;

    // A load while one runs does nothing; the rows of an earlier load stay while it runs or after it fails.
    Q_INVOKABLE void load() { run(); }
    QCoro::Task<> run();

Q_SIGNALS:
    void clientChanged();
    void stateChanged();

private:
    QPointer<APIClient> m_client;
    RecentFlightRows m_flights;
    bool m_loading = false;
    std::optional<QString> m_error;
    Lifetime m_lifetime; // last: ends first
};
