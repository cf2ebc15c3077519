// The member's own records: reports, events and attendance, leaderboard, routes, notices, flights, live map.
#include "SampleService.h"

namespace Sample {

void Service::addMemberRoutes() {}

} // namespace Sample
