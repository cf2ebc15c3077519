#pragma once

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

// A fuzz target is one function of the bytes from outside. The same source is built twice: with clang and
// libFuzzer into its own program (scripts/fuzz), and with the normal compiler into vorna-fuzz-replay, which
// runs the committed corpus through it on every test run.
using FuzzEntry = void (*)(const QByteArray &bytes);

struct FuzzTarget
{
    const char *name;
    FuzzEntry entry;
};

// Registers a target at start; both drivers look targets up by name.
struct FuzzRegistration
{
    FuzzRegistration(const char *name, FuzzEntry entry);
};

const FuzzTarget *fuzzTarget(const char *name);

#define VORNA_FUZZ_TARGET(name)                                                                              \
    static void fuzz_##name(const QByteArray &bytes);                                                        \
    static const FuzzRegistration fuzzRegistration_##name(#name, &fuzz_##name);                              \
    static void fuzz_##name(const QByteArray &bytes)

// A rule the code promises, checked on every input: a broken one aborts, which both drivers report.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: rule broken: %s\n", __FILE__, __LINE__, #condition);                \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
