// Time of one keystroke's query work: building the pattern from the three
// field texts and matching all 216 table entries against it, beside the same
// scan with a matcher that renders each code into a buffer first.
#include <benchmark/benchmark.h>

#include "query/code_pattern.h"
#include "query/text.h"

namespace {

struct Query { const char *sk, *asc, *ascq; };

const Query kQueries[] = {
    {"?", "??", "??"},  // ?????
    {"6", "??", "??"},  // 6????
    {"?", "4", "??"},   // ?04??
    {"?", "5D", "0"},   // ?5D00
    {"X", "XX", "XX"},  // XXXXX
};

// The baseline: the matcher as it was first written, rendering the code as
// five hex digits into a buffer and comparing them with the pattern.
bool MatchesByRendering(const CodePattern& pattern, const SenseEntry& entry) {
    WideChar rendered[9];
    FormatHex(entry.code, 5, rendered);
    for (int i = 0; i < 5; ++i)
        if (pattern.digits[i] != '?' && pattern.digits[i] != rendered[i]) return false;
    return true;
}

template <bool (*Matches)(const CodePattern&, const SenseEntry&)>
void PatternAndScan(benchmark::State& state) {
    const Query& query = kQueries[state.range(0)];
    int matches = 0;
    for (auto _ : state) {
        CodePattern pattern = BuildPattern(query.sk, query.asc, query.ascq);
        matches = 0;
        for (int i = 0; i < kSenseTableCount; ++i) matches += Matches(pattern, SenseTable[i]);
        benchmark::DoNotOptimize(matches);
    }
    state.SetLabel(BuildPattern(query.sk, query.asc, query.ascq).digits);
    state.counters["matches"] = matches;
}

}  // namespace

BENCHMARK_TEMPLATE(PatternAndScan, MatchesPattern)->DenseRange(0, 4);
BENCHMARK_TEMPLATE(PatternAndScan, MatchesByRendering)->DenseRange(0, 4);
BENCHMARK_MAIN();
