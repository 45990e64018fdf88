// One whole calculation (Mitoitus, all texts composed) per arrangement, the worst case, and a
// design of 1,000 load cases.
//
//   build/bin/calc_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "calc/calc.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Case
{
    int tapaus;
    calc::DesignInput input;
};

// Typical designs: C1, C2, S1, S2, NSd, V1d, e1, e2.
const Case Typical[] = {
    {1, {200, 200, 0, 0, 2, 1, 0, 0}},       {2, {100, 100, 150, 0, 3, 2, 20, 0}},
    {3, {200, 200, 200, 0, 4, 2, 0, 0}},     {4, {200, 200, 0, 150, 3, 2, 0, 20}},
    {5, {200, 250, 0, 150, 4, 3, 0, 30}},    {6, {300, 300, 200, 200, 5, 3, 30, 20}},
    {7, {600, 600, 150, 150, 5, 2, 50, 10}},
};

void typical(benchmark::State &state)
{
    const Case &c = Typical[state.range(0) - 1];
    const calc::Texts texts;
    for (auto _ : state) {
        calc::Result r = calc::Mitoitus(c.input, c.tapaus, calc::Cracked, texts);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(typical)->DenseRange(1, 7)->ArgName("tapaus");

// Every size passes the tension and shear checks, then its eccentric search finds no step
// within the tolerance and bisects; M16 fails too, so the run ends with the advice.
void worstCase(benchmark::State &state)
{
    const calc::DesignInput input{800, 800, 190, 190, 5, 0, 1000, 0};
    const calc::Texts texts;
    for (auto _ : state) {
        calc::Result r = calc::Mitoitus(input, 7, calc::NonCracked, texts);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(worstCase);

// A design of 1,000 load cases: loads spread over the range of a group of six, so that the
// sizes fail on different cases and checks until M16; the eccentric search runs for most cases at
// every size.
void loadCases(benchmark::State &state)
{
    const calc::DesignInput geometry{800, 800, 190, 190, 0, 0, 0, 0};
    std::vector<calc::CaseLoads> loads;
    for (int i = 0; i < state.range(0); ++i)
        loads.push_back({1.0 + (i % 37) * 0.6, (i % 11) * 0.9, (i % 5) * 60.0, (i % 3) * 15.0});
    const calc::Texts texts;
    for (auto _ : state) {
        calc::CasesResult cases;
        calc::Result r = calc::MitoitusCases(geometry, loads, 7, calc::NonCracked, texts, cases);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(cases);
    }
}
BENCHMARK(loadCases)->Arg(1000)->ArgName("cases")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
