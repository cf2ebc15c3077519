#pragma once

#include "APIClient.h"
#include "AircraftImageService.h"
#include "Lifetime.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QStringList>

// The searchable list of aircraft names (the simulator's, else the livery catalog's) or of the liveries
// the catalog has for one aircraft, from which the report form takes a name.
class CatalogPickerModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(APIClient *client READ client WRITE setClient NOTIFY clientChanged REQUIRED)
    Q_PROPERTY(Kind kind READ kind WRITE setKind NOTIFY kindChanged)
    // The aircraft name in the form; the livery list is that aircraft's.
    Q_PROPERTY(QString aircraft READ aircraft WRITE setAircraft NOTIFY aircraftChanged)
    Q_PROPERTY(QString title READ title NOTIFY kindChanged)
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY rowsChanged)
    Q_PROPERTY(QStringList rows READ rows NOTIFY rowsChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY stateChanged)
    Q_PROPERTY(QString error READ error NOTIFY stateChanged)
    // Nothing to offer: the member may go back and type the name.
    Q_PROPERTY(bool showsNote READ showsNote NOTIFY stateChanged)

public:
    enum Kind { Aircraft, Livery };
    Q_ENUM(Kind)

    explicit CatalogPickerModel(QObject *parent = nullptr);

    APIClient *client() const { return m_client; }
    void setClient(APIClient *client);
    Kind kind() const { return m_kind; }
    void setKind(Kind kind);
    QString aircraft() const { return m_aircraft; }
    void setAircraft(const QString &aircraft);
    QString title() const;
    QString query() const { return m_query; }
    void setQuery(const QString &query);
    QStringList rows() const;
    const QStringList &values() const { return m_values; }
    bool loading() const { return m_loading; }
    QString error() const { return m_error.value_or(QString()); }
    bool showsNote() const { return !m_loading && m_values.isEmpty(); }

    // The catalog the lists come from; the installed picture service unless a test gives its own.
    void setImageService(AircraftImageService *service) { m_images = service; }

    Q_INVOKABLE void load() { run(); }
    QCoro::Task<> run();

    // Each name once (canonically equal texts are one), in the order of their code points: no locale
    // rules, so upper-case Latin letters come before lower-case ones.
    static QStringList distinctSorted(const QStringList &names);
    // Whether a name passes the search: an empty query, or the name contains it in any letter case.
    static bool matches(const QString &name, const QString &query);

Q_SIGNALS:
    void clientChanged();
    void kindChanged();
    void aircraftChanged();
    void rowsChanged();
    void stateChanged();

private:
    QPointer<APIClient> m_client;
    QPointer<AircraftImageService> m_images;
    Kind m_kind = Aircraft;
    QString m_aircraft;
    QString m_query;
    QStringList m_values;
    // On screen from the first frame until the first load ends.
    bool m_loading = true;
    std::optional<QString> m_error;
    Lifetime m_lifetime; // last: ends first
};
