#include "core/mdlUser.h"
#include "platform/Random.h"
#include "quiz/QuizGenerator.h"
#include "support/Fakes.h"
#include "support/Figures.h"
#include "support/QuizChecks.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

namespace {

void generate(benchmark::State &state, const QuizRequest &request)
{
    FakeClock clock;
    clock.now = 36000.0;
    platform::Rng rng(&clock);
    Quiz quiz;
    for (auto _ : state) {
        benchmark::DoNotOptimize(generateQuiz(request, rng, quiz));
        benchmark::ClobberMemory();
    }
}

// The design size's 21 x 10 cells.
void BM_DesignGrid100Symbols(benchmark::State &state)
{
    generate(state, gridRequest(21, 10, KigouNumRange.high, AllKinds));
}

// 10 x 10 cells: every cell is filled, the last ones by long rejection runs.
void BM_FullGrid100Symbols(benchmark::State &state)
{
    generate(state, gridRequest(10, 10, KigouNumRange.high, AllKinds));
}

// Shows the usual console table and keeps each benchmark's median for the summary.
class MedianKeepingReporter final : public benchmark::ConsoleReporter
{
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.aggregate_name == "median")
                medians.emplace_back(run.run_name.function_name, run.GetAdjustedRealTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::vector<std::pair<std::string, double>> medians; // in microseconds, the unit of every benchmark here
};

} // namespace

BENCHMARK(BM_DesignGrid100Symbols)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FullGrid100Symbols)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    // Colour codes only for a terminal: the summary is read back from a log.
    MedianKeepingReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
                                                         : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const auto &[name, microseconds] : reporter.medians)
        bench::summary("quiz generation, 100 symbols, %s: median %.2f us", name.c_str(), microseconds);
    return 0;
}
