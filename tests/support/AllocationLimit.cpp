// Built into a test program, this ends the program at any single allocation over 4 GiB, as libFuzzer's
// malloc limit ends a fuzz run (scripts/fuzz). So an input that makes a reader reserve what a damaged count
// declares fails on the test road too, where the system would only refuse the memory or lend it untouched.
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::size_t limit = std::size_t(4096) << 20;

void check(std::size_t size)
{
    if (size <= limit)
        return;
    std::fprintf(stderr, "an allocation of %zu bytes at once, over the limit of %zu\n", size, limit);
    std::abort();
}

} // namespace

#if defined(__SANITIZE_ADDRESS__)
#define VORNA_ALLOCATION_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORNA_ALLOCATION_HOOKS 1
#endif
#endif

#ifdef VORNA_ALLOCATION_HOOKS
// The sanitizer owns the allocator; it tells us of each allocation instead.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*allocated)(const volatile void *,
                                                                           std::size_t),
                                                         void (*freed)(const volatile void *));

namespace {

void allocated(const volatile void *, std::size_t size) { check(size); }
void freed(const volatile void *) {}
[[maybe_unused]] const int installed = __sanitizer_install_malloc_and_free_hooks(&allocated, &freed);

} // namespace
#else
// glibc's own allocator behind ours: what it hands out, its free takes back.
extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *memory, std::size_t size);

void *malloc(std::size_t size) noexcept
{
    check(size);
    return __libc_malloc(size);
}

void *calloc(std::size_t count, std::size_t size) noexcept
{
    if (size != 0)
        check(count > limit / size ? limit + 1 : count * size);
    return __libc_calloc(count, size);
}

void *realloc(void *memory, std::size_t size) noexcept
{
    check(size);
    return __libc_realloc(memory, size);
}
}
#endif
