#pragma once

#include <QHashFunctions>

#include <optional>

// Combines field hashes in order; an optional adds its presence first, so none and a present value
// hash apart, and zero hashes as positive zero, as equality has it.
class Hasher
{
public:
    explicit Hasher(size_t seed)
        : m_seed(seed)
    {
    }
    template <typename... T>
    Hasher &add(const T &...values)
    {
        (one(values), ...);
        return *this;
    }
    size_t value() const { return m_seed; }

private:
    template <typename T>
    void one(const T &value)
    {
        m_seed = qHashMulti(m_seed, value);
    }
    void one(double value) { m_seed = qHashMulti(m_seed, value == 0 ? 0.0 : value); }
    template <typename T>
    void one(const std::optional<T> &value)
    {
        one(value.has_value());
        if (value)
            one(*value);
    }

    size_t m_seed;
};
