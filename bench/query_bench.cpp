// Time of one keystroke's query work: building the pattern from the three
// field texts and matching all 216 table entries against it.
#include <benchmark/benchmark.h>

#include "query/code_pattern.h"

namespace {

struct Query { const char *sk, *asc, *ascq; };

const Query kQueries[] = {
    {"?", "??", "??"},  // ?????
    {"6", "??", "??"},  // 6????
    {"?", "4", "??"},   // ?04??
    {"?", "5D", "0"},   // ?5D00
    {"X", "XX", "XX"},  // XXXXX
};

void PatternAndScan(benchmark::State& state) {
    const Query& query = kQueries[state.range(0)];
    int matches = 0;
    for (auto _ : state) {
        CodePattern pattern = BuildPattern(query.sk, query.asc, query.ascq);
        matches = 0;
        for (int i = 0; i < kSenseTableCount; ++i) matches += MatchesPattern(pattern, SenseTable[i]);
        benchmark::DoNotOptimize(matches);
    }
    state.SetLabel(BuildPattern(query.sk, query.asc, query.ascq).digits);
    state.counters["matches"] = matches;
}

}  // namespace

BENCHMARK(PatternAndScan)->DenseRange(0, 4);
BENCHMARK_MAIN();
