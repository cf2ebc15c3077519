#pragma once

#include <exception>

// Work that was cancelled: the session changed while a request was in flight, the client was retired,
// or the owner went away. Screens drop it; it is never shown.
class CancellationError : public std::exception
{
public:
    const char *what() const noexcept override { return "cancelled"; }
};
