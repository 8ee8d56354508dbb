#pragma once

#include <cstdint>

namespace platform {

class Clock;

class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // One draw r with 0 <= r < 1.
    virtual float next() = 0;
    virtual void reseedFromTimeOfDay() = 0;
};

// splitmix64 with a fixed start state, so an unseeded run repeats from program start to program start.
class Rng final : public RandomSource
{
public:
    static constexpr std::uint64_t StartState = 0x1F0A2B3C4D5E6F70ull;

    // Without a clock of its own it reseeds from whichever clock the program has installed.
    explicit Rng(const Clock *clock = nullptr);

    float next() override;
    void reseedFromTimeOfDay() override;

    std::uint64_t state() const { return m_state; }

private:
    std::uint64_t nextBits();

    const Clock *m_clock;
    std::uint64_t m_state = StartState;
};

// floor(r * n) for one draw r: an index from 0 to n - 1, each with the same chance.
// The product is taken in double precision, where it can never round up to n.
int drawIndex(RandomSource &source, int n);

RandomSource &random();
void setRandom(RandomSource *replacement); // nullptr restores the program's generator

} // namespace platform
