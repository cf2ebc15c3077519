#include "FuzzTarget.h"

#include <cstring>
#include <vector>

namespace {

std::vector<FuzzTarget> &targets()
{
    static std::vector<FuzzTarget> registered;
    return registered;
}

} // namespace

FuzzRegistration::FuzzRegistration(const char *name, FuzzEntry entry) { targets().push_back({name, entry}); }

const FuzzTarget *fuzzTarget(const char *name)
{
    for (const FuzzTarget &target : targets()) {
        if (std::strcmp(target.name, name) == 0)
            return &target;
    }
    return nullptr;
}
