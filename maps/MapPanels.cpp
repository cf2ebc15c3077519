#include "MapPanels.h"

#include <cmath>

namespace MapPanels {

Layout layout(bool regular, bool searching, bool choosingOwnFlights, bool flightSelected)
{
    const Content chosen = choosingOwnFlights ? Content::OwnFlights
                           : searching        ? Content::Search
                           : flightSelected   ? Content::Flight
                                              : Content::None;
    Layout layout;
    if (regular) {
        layout.sideCard = chosen == Content::Flight ? Content::None : chosen;
        layout.bottomBar = chosen == Content::Flight;
    } else {
        layout.sheet = chosen;
    }
    return layout;
}

double compactHeight(double current, double measured)
{
    const double wanted = std::ceil(measured - 20);
    return std::fabs(wanted - current) > 1 ? wanted : current;
}

} // namespace MapPanels

static_assert(int(MapPanelsModel::Flight) == int(MapPanels::Content::Flight));

MapPanelsModel::MapPanelsModel(QObject *parent)
    : QObject(parent)
{
}

void MapPanelsModel::measured(double height)
{
    const double next = MapPanels::compactHeight(m_compactHeight, height);
    if (next == m_compactHeight)
        return;
    m_compactHeight = next;
    Q_EMIT compactHeightChanged();
}
