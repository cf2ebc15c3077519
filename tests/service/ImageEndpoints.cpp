// The livery catalog and the aircraft pictures, static files of the member site.
#include "SampleService.h"

namespace Sample {

void Service::addImageRoutes() {}

} // namespace Sample
