#include "FlightValues.h"

namespace {

bool samePoints(const std::optional<QList<FlightPoint>> &a, const std::optional<QList<FlightPoint>> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    if (!a)
        return true;
    return std::equal(a->begin(), a->end(), b->begin(), b->end(),
                      [](const FlightPoint &p, const FlightPoint &q) {
                          return p.latitude == q.latitude && p.longitude == q.longitude && p.name == q.name;
                      });
}

} // namespace

bool FlightPlanValue::operator==(const FlightPlanValue &other) const
{
    if (plan.has_value() != other.plan.has_value())
        return false;
    return !plan
           || (samePoints(plan->points, other.plan->points) && samePoints(plan->route, other.plan->route));
}
