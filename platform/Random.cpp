#include "platform/Random.h"

#include "platform/Clock.h"

#include <bit>
#include <cmath>

namespace platform {

namespace {

RandomSource *installedRandom = nullptr;

std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

Rng::Rng(const Clock *clock)
    : m_clock(clock)
{
}

std::uint64_t Rng::nextBits()
{
    m_state += 0x9E3779B97F4A7C15ull;
    return mix(m_state);
}

float Rng::next()
{
    // The top 24 bits fill a float's mantissa exactly, so 1.0 can never come out.
    return static_cast<float>(nextBits() >> 40) * 0x1p-24f;
}

void Rng::reseedFromTimeOfDay()
{
    // Every bit of the double counts, so two reseeds a microsecond apart diverge.
    const double seconds = (m_clock ? *m_clock : clock()).secondsSinceMidnight();
    m_state = mix(m_state ^ std::bit_cast<std::uint64_t>(seconds));
}

int drawIndex(RandomSource &source, int n)
{
    return static_cast<int>(std::floor(static_cast<double>(source.next()) * n));
}

RandomSource &random()
{
    static Rng programRng;
    return installedRandom ? *installedRandom : programRng;
}

void setRandom(RandomSource *replacement)
{
    installedRandom = replacement;
}

} // namespace platform
