#include "core/mdlUser.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "quiz/QuizGenerator.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double CellTwips = 375;
constexpr double HeaderTwips = 720;

class FrozenClock final : public platform::Clock
{
public:
    double secondsSinceMidnight() const override { return 36000.0; }
};

QuizRequest requestFor(double scaleWidth, double scaleHeight)
{
    QuizRequest request;
    request.keyWidth = CellTwips;
    request.keyHeight = CellTwips;
    request.fieldTop = HeaderTwips;
    request.scaleWidth = scaleWidth;
    request.scaleHeight = scaleHeight;
    request.kigouNum = MaxKigouNum;
    request.koumoku.fill(True16);
    return request;
}

void generate(benchmark::State &state, const QuizRequest &request)
{
    InitList();
    FrozenClock clock;
    platform::Rng rng(&clock);
    Quiz quiz;
    for (auto _ : state) {
        benchmark::DoNotOptimize(generateQuiz(request, rng, quiz));
        benchmark::ClobberMemory();
    }
}

// 21 x 10 cells.
void BM_DesignGrid100Symbols(benchmark::State &state)
{
    generate(state, requestFor(8595, 4905));
}

// 10 x 10 cells: every cell is filled, the last ones by long rejection runs.
void BM_FullGrid100Symbols(benchmark::State &state)
{
    generate(state, requestFor(11 * CellTwips, HeaderTwips + 11 * CellTwips));
}

} // namespace

BENCHMARK(BM_DesignGrid100Symbols)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FullGrid100Symbols)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
