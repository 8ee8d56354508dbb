#pragma once

#include <QByteArray>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Fixed-size little-endian fields from the front of a fuzz input, zero once it runs out,
// so that a seed can be written by hand as the fields one after another.
class FuzzInput
{
    static_assert(std::endian::native == std::endian::little, "fields are copied as they lie in memory");

public:
    FuzzInput(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    template<typename T>
    T take()
    {
        unsigned char bytes[sizeof(T)] = {};
        const size_t count = m_size - m_offset < sizeof(T) ? m_size - m_offset : sizeof(T);
        if (count > 0)
            std::memcpy(bytes, m_data + m_offset, count);
        m_offset += count;
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    bool empty() const { return m_offset == m_size; }

    QByteArray rest()
    {
        const QByteArray bytes(reinterpret_cast<const char *>(m_data + m_offset), qsizetype(m_size - m_offset));
        m_offset = m_size;
        return bytes;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_offset = 0;
};

// A broken property is a finding: libFuzzer keeps the input that broke it.
inline void require(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}
