#include "FuzzTarget.h"

#include <QCoreApplication>

#include <cstdint>

// libFuzzer's entry points for the program of one target, named by VORNA_FUZZ_ONLY.
namespace {

const FuzzTarget *target = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Settings, time zones and the text tables want an application object, as in the app.
    static QCoreApplication application(*argc, *argv);
    target = fuzzTarget(VORNA_FUZZ_ONLY);
    if (!target) {
        std::fprintf(stderr, "no fuzz target named %s\n", VORNA_FUZZ_ONLY);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    target->entry(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
