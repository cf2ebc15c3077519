#pragma once

#include <QObject>
#include <QQmlEngine>

// Where the live map puts the selected flight, the search and the own-flights picker. A wide window (the
// regular width class of ComponentRules::isRegular) has a bar along the bottom for the flight and a side
// card for the search or the picker; a narrow one shows all three in one sheet.
namespace MapPanels {

enum class Content { None, Search, OwnFlights, Flight };

struct Layout
{
    Content sideCard = Content::None;
    bool bottomBar = false;
    Content sheet = Content::None;
    bool operator==(const Layout &) const = default;
};

// The picker wins over the search, and either over the selected flight.
Layout layout(bool regular, bool searching, bool choosingOwnFlights, bool flightSelected);

// The compact card's sheet is 380 high until the card reports its height.
inline constexpr double initialCompactHeight = 380;
// The sheet follows the card's height less 20, rounded up, and ignores changes of a point or less.
double compactHeight(double current, double measured);

} // namespace MapPanels

// The panels' state: which of them the map asks for (the search, the own-flights picker, the selected
// flight), the window's width class, and the compact card's sheet height; the layout follows from it. The
// live map's model keeps the map's flags and the card's height in one; MapPanelsView lays the panels out
// with its own, from what it is handed and its window's width.
class MapPanelsModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(bool regular READ regular WRITE setRegular NOTIFY layoutChanged)
    Q_PROPERTY(bool searching READ searching WRITE setSearching NOTIFY layoutChanged)
    Q_PROPERTY(
        bool choosingOwnFlights READ choosingOwnFlights WRITE setChoosingOwnFlights NOTIFY layoutChanged)
    Q_PROPERTY(bool flightSelected READ flightSelected WRITE setFlightSelected NOTIFY layoutChanged)
    Q_PROPERTY(Content sideCard READ sideCard NOTIFY layoutChanged)
    Q_PROPERTY(bool showsBar READ showsBar NOTIFY layoutChanged)
    Q_PROPERTY(Content sheet READ sheet NOTIFY layoutChanged)
    Q_PROPERTY(double compactHeight READ compactHeight NOTIFY compactHeightChanged)

public:
    enum Content { None, Search, OwnFlights, Flight };
    Q_ENUM(Content)

    explicit MapPanelsModel(QObject *parent = nullptr);

    bool regular() const { return m_regular; }
    void setRegular(bool value) { change(m_regular, value); }
    bool searching() const { return m_searching; }
    void setSearching(bool value) { change(m_searching, value); }
    bool choosingOwnFlights() const { return m_choosing; }
    void setChoosingOwnFlights(bool value) { change(m_choosing, value); }
    bool flightSelected() const { return m_selected; }
    void setFlightSelected(bool value) { change(m_selected, value); }

    MapPanels::Layout layout() const
    {
        return MapPanels::layout(m_regular, m_searching, m_choosing, m_selected);
    }
    Content sideCard() const { return Content(layout().sideCard); }
    bool showsBar() const { return layout().bottomBar; }
    Content sheet() const { return Content(layout().sheet); }
    double compactHeight() const { return m_compactHeight; }

    // The compact card reports its laid-out height.
    Q_INVOKABLE void measured(double height);

Q_SIGNALS:
    void layoutChanged();
    void compactHeightChanged();

private:
    void change(bool &field, bool value)
    {
        if (field == value)
            return;
        field = value;
        Q_EMIT layoutChanged();
    }

    bool m_regular = false;
    bool m_searching = false;
    bool m_choosing = false;
    bool m_selected = false;
    double m_compactHeight = MapPanels::initialCompactHeight;
};
