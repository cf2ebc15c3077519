#pragma once

#include "APIClient.h"
#include "FlightRecords.h"
#include "Lifetime.h"
#include "LiveMapClock.h"
#include "LiveMapFeed.h"
#include "LiveMapMarkers.h"
#include "LiveMapRules.h"
#include "LiveMapValues.h"
#include "MapMath.h"
#include "MapPanels.h"
#include "MemberData.h"
#include "MemberInputs.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QQmlParserStatus>

#include <QCoro/QCoroTask>

#include <memory>
#include <optional>

class FlightActivityNavigation;

// The live map screen's model: its state with the initial values, the member's own flights and the
// own-flight request, the selection, the demonstration tour and the markers. Its feed (LiveMapFeed) polls
// and loads the snapshot, kept in `MemberData.liveMap`, and fetches and caches the plans; its panels' model
// (MapPanelsModel) holds which panels the map asks for; the banner (MapBanner) words its header's texts.
// `LiveMapView` lays it out; the panels over the map read and call it.
//
// Its work runs while the page is `shown`: the feed's polling loop (keyed by `cycle`), the plan of the
// selected flight (keyed by its id), the tour (keyed by `demonstrating`) and the own-flight request (keyed
// by the request). A new key stops the earlier run of that work; the page going away stops all of it.
class LiveMapModel : public QObject, public QQmlParserStatus, public MemberInputs
{
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)

    // What the screen is given.
    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY memberDataChanged REQUIRED)
    Q_PROPERTY(APIClient *client READ client WRITE setClient NOTIFY clientChanged)
    // The signed-in member's user name; empty when nobody is signed in.
    Q_PROPERTY(QString username READ username WRITE setUsername NOTIFY usernameChanged)
    // The scene phase: true while the app is active (its window in front). It follows the application's
    // state; a test sets it.
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
    // The page is on screen.
    Q_PROPERTY(bool shown READ shown WRITE setShown NOTIFY shownChanged)

    // The screen's state.
    Q_PROPERTY(bool satellite READ satellite WRITE setSatellite NOTIFY satelliteChanged)
    Q_PROPERTY(LiveFlightValue selected READ selectedValue NOTIFY selectedChanged)
    Q_PROPERTY(bool hasSelection READ hasSelection NOTIFY selectedChanged)
    Q_PROPERTY(FlightPlanValue plan READ planValue NOTIFY planChanged)
    Q_PROPERTY(bool demonstrating READ demonstrating WRITE setDemonstrating NOTIFY demonstratingChanged)
    Q_PROPERTY(double zoom READ zoom NOTIFY zoomChanged)
    Q_PROPERTY(MapCameraPosition position READ position NOTIFY positionChanged)
    Q_PROPERTY(MapRegion region READ region NOTIFY regionChanged)
    Q_PROPERTY(QDateTime selectedAt READ selectedAt NOTIFY selectedChanged)
    // The feed's (LiveMapFeed): the polling cycle, the loading and paused flags, the last interaction, the
    // banner's error line and the number of plans cached.
    Q_PROPERTY(QString error READ error NOTIFY feedChanged)
    Q_PROPERTY(QString cycle READ cycle NOTIFY feedChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY feedChanged)
    Q_PROPERTY(QDateTime lastActivity READ lastActivity NOTIFY activityChanged)
    Q_PROPERTY(bool paused READ paused NOTIFY feedChanged)
    Q_PROPERTY(int planCount READ planCount NOTIFY feedChanged)
    // The panels the map asks for, and the compact card's sheet height: its MapPanelsModel's.
    Q_PROPERTY(bool searching READ searching WRITE setSearching NOTIFY panelsChanged)
    Q_PROPERTY(
        bool choosingOwnFlights READ choosingOwnFlights WRITE setChoosingOwnFlights NOTIFY panelsChanged)
    Q_PROPERTY(double compactHeight READ compactHeight NOTIFY panelsChanged)

    // The snapshot, as the banner and the panels read it.
    Q_PROPERTY(bool hasSnapshot READ hasSnapshot NOTIFY snapshotChanged)
    Q_PROPERTY(int flightCount READ flightCount NOTIFY snapshotChanged)
    Q_PROPERTY(int liveCount READ liveCount NOTIFY snapshotChanged)
    Q_PROPERTY(QString status READ status NOTIFY snapshotChanged)
    Q_PROPERTY(bool savedSnapshot READ savedSnapshot NOTIFY snapshotChanged)
    Q_PROPERTY(bool degraded READ degraded NOTIFY snapshotChanged)
    // When the service last updated the snapshot, as the snapshot writes it (ISO 8601); empty without.
    Q_PROPERTY(QString updatedAt READ updatedAt NOTIFY snapshotChanged)
    // The header's texts, as the banner words them (MapBanner): the count with the update time, the selected
    // flight's callsign and aircraft, the own-flight button's title.
    Q_PROPERTY(QString countText READ countText NOTIFY snapshotChanged)
    Q_PROPERTY(QString selectedTitle READ selectedTitle NOTIFY selectedChanged)
    Q_PROPERTY(QString ownFlightButtonText READ ownFlightButtonText NOTIFY ownFlightsChanged)
    // The selected flight is live-identified: the LIVE badge of the bar and the card.
    Q_PROPERTY(bool selectedLive READ selectedLive NOTIFY selectedChanged)
    // The member's own flights, their current one first, each completed by `withRoute`.
    Q_PROPERTY(LiveFlightList ownFlights READ ownFlightList NOTIFY ownFlightsChanged)
    Q_PROPERTY(int ownFlightCount READ ownFlightCount NOTIFY ownFlightsChanged)
    // The snapshot's flights in its order, for the search.
    Q_PROPERTY(LiveFlightList flights READ flightList NOTIFY snapshotChanged)
    // The map's content: the markers in stacking order, and the selected flight's plan lines (each empty
    // unless it has two points or more).
    Q_PROPERTY(LiveMapMarkers *markers READ markers CONSTANT)
    Q_PROPERTY(QList<QGeoCoordinate> planPath READ planPath NOTIFY planChanged)
    Q_PROPERTY(QList<QGeoCoordinate> routePath READ routePath NOTIFY planChanged)

public:
    explicit LiveMapModel(QObject *parent = nullptr);
    ~LiveMapModel() override;

    void setMemberData(MemberData *data);
    void setClient(APIClient *client);
    void setUsername(const QString &username);
    bool active() const { return m_feed.active(); }
    void setActive(bool active);
    bool shown() const { return m_shown; }
    void setShown(bool shown);
    // The clock of the feed's polling loop, the tour and the stamps; tests hand in their own.
    void setClock(std::shared_ptr<LiveMapClock> clock);

    bool satellite() const { return m_satellite; }
    void setSatellite(bool satellite);
    QString error() const { return m_feed.error().value_or(QString()); }
    const std::optional<QString> &errorText() const { return m_feed.error(); }
    const std::optional<LiveFlight> &selected() const { return m_selected; }
    LiveFlightValue selectedValue() const { return {m_selected}; }
    bool hasSelection() const { return m_selected.has_value(); }
    const std::optional<PlanResponse> &plan() const { return m_plan; }
    FlightPlanValue planValue() const { return {m_plan}; }
    QString cycle() const { return m_feed.cycle(); }
    bool loading() const { return m_feed.loading(); }
    QDateTime lastActivity() const { return m_feed.lastActivity(); }
    bool paused() const { return m_feed.paused(); }
    bool searching() const { return m_panels.searching(); }
    void setSearching(bool searching) { m_panels.setSearching(searching); }
    bool choosingOwnFlights() const { return m_panels.choosingOwnFlights(); }
    void setChoosingOwnFlights(bool choosing) { m_panels.setChoosingOwnFlights(choosing); }
    const LiveMapRules::Plans &plans() const { return m_feed.plans(); }
    int planCount() const { return int(plans().size()); }
    bool demonstrating() const { return m_demonstrating; }
    void setDemonstrating(bool demonstrating);
    double zoom() const { return m_zoom; }
    MapCameraPosition position() const { return m_position; }
    MapRegion region() const { return m_region; }
    QDateTime selectedAt() const { return m_selectedAt; }
    double compactHeight() const { return m_panels.compactHeight(); }

    const std::optional<LiveResponse> &snapshot() const;
    bool hasSnapshot() const { return snapshot().has_value(); }
    int flightCount() const { return hasSnapshot() ? int(snapshot()->flights.size()) : 0; }
    int liveCount() const { return LiveMapRules::liveCount(snapshot()); }
    QString status() const;
    bool savedSnapshot() const { return status() == QLatin1String("saved"); }
    bool degraded() const { return status() == QLatin1String("degraded"); }
    QString updatedAt() const;
    bool selectedLive() const;
    // The own flights of the snapshot for the signed-in member, each completed by `withRoute`.
    QList<LiveFlight> ownFlights() const;
    LiveFlightList ownFlightList() const { return {ownFlights()}; }
    int ownFlightCount() const { return int(ownFlights().size()); }
    LiveFlightList flightList() const;
    QString countText() const;
    QString selectedTitle() const;
    QString ownFlightButtonText() const;
    LiveMapMarkers *markers() { return &m_markers; }
    QList<QGeoCoordinate> planPath() const;
    QList<QGeoCoordinate> routePath() const;

    // The flight with its missing end airports taken from its cached plan.
    LiveFlight withRoute(const LiveFlight &flight) const { return m_feed.withRoute(flight); }

    // Serves a pending own-flight request once a snapshot that is not a saved one is on the map.
    void focusRequestedOwnFlight();

    // Selects a flight (a marker, a toolbar button, the search, the picker, the own-flight
    // request; `automatic` only from the tour) and moves the camera so that it rests above the middle.
    void select(const LiveFlight &flight, bool automatic);
    Q_INVOKABLE void select(const LiveFlightValue &flight, bool automatic = false);
    // Records an interaction with the feed; an idle-paused map polls again.
    Q_INVOKABLE void touched();

    // What the screen's controls do.
    // The refresh button: an interaction, and a new polling cycle that loads at once.
    Q_INVOKABLE void refresh();
    // The close action of the selected-flight views and the dismissal of the compact sheet.
    Q_INVOKABLE void deselect();
    // A click on the marker of a row of `markers`.
    Q_INVOKABLE void markerClicked(int row);
    // A click on the map where no marker is: clears the selection made more than 0.4 s ago.
    Q_INVOKABLE void mapTapped();
    // The end of a camera movement: the region shown, the map's width in points and its camera.
    Q_INVOKABLE void cameraMoved(const MapRegion &region, double width, const QGeoCoordinate &center,
                                 double distance);
    // The bottom row's demonstration button.
    Q_INVOKABLE void toggleDemonstration();
    // The search button, and the search's close and choose actions.
    Q_INVOKABLE void openSearch();
    Q_INVOKABLE void closeSearch();
    Q_INVOKABLE void chooseFound(const LiveFlightValue &flight);
    // The own-flight buttons: the only own flight selected, or the picker opened; the picker's close.
    Q_INVOKABLE void ownFlightAction();
    // The picker of the member's own flights, opened on its own (the banner asks for it with several).
    Q_INVOKABLE void openOwnFlights();
    Q_INVOKABLE void closeOwnFlights();
    // The compact card's measured height.
    Q_INVOKABLE void measured(double height);

    // QQmlParserStatus: made from QML, the model starts once all its properties are set.
    void classBegin() override;
    void componentComplete() override;

Q_SIGNALS:
    void memberDataChanged();
    void clientChanged();
    void usernameChanged();
    void activeChanged();
    void shownChanged();
    void satelliteChanged();
    void selectedChanged();
    void planChanged();
    void feedChanged();
    void activityChanged();
    void panelsChanged();
    void demonstratingChanged();
    void zoomChanged();
    void positionChanged();
    void regionChanged();
    void snapshotChanged();
    void ownFlightsChanged();
    // The map is to move its camera there: a spring of 0.4 s when animated.
    void cameraRequested(const MapCameraPosition &position, bool animated);

private:
    QDateTime now() const { return m_clock->now(); }
    // Starts or stops the page's work as the page shows and its inputs arrive.
    void sync();
    void startPageWork();
    void stopPageWork();
    void startPlanTask();
    void startTour();
    void startRequestTask();
    QCoro::Task<> tour();
    QCoro::Task<> serveRequest();
    void setSelected(std::optional<LiveFlight> flight);
    void setPlan(std::optional<PlanResponse> plan);
    // What the feed's loads and plans bring the selection: the selected flight's plan, its fresh copy.
    void showFetchedPlan(const LiveFlight &flight, const PlanResponse &plan);
    void refreshSelected(const LiveResponse &snapshot);
    void setRegion(const MapRegion &region);
    void clearSelection();
    void showMarkers();

    QPointer<FlightActivityNavigation> m_activity;
    bool m_shown = false;
    bool m_complete = true;
    bool m_running = false;
    std::shared_ptr<LiveMapClock> m_clock = LiveMapClock::system();

    bool m_satellite = true;
    std::optional<LiveFlight> m_selected;
    std::optional<PlanResponse> m_plan;
    bool m_demonstrating = false;
    double m_zoom = 2.4;
    MapCameraPosition m_position;
    MapRegion m_region{28.0, 105.0, 50, 70};
    QDateTime m_selectedAt = QDateTime::fromMSecsSinceEpoch(0, Qt::UTC);
    // The map's own panel flags and the card's height; the view lays the panels out by its window's width.
    MapPanelsModel m_panels;

    LiveMapMarkers m_markers;
    // It loads with the model's inputs; the model's end stops it while the model is whole to hear it.
    LiveMapFeed m_feed{*this};

    // One run per keyed task of the model's own.
    Lifetime m_tourRun;
    Lifetime m_requestRun;
};
