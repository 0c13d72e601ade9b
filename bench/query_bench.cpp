// Time of one keystroke's query work: building the pattern from the three
// field texts and matching all 216 table entries against it, beside the same
// scan with a matcher that renders each code into a buffer first. And the
// time to read pasted text for a sense code.
#include <benchmark/benchmark.h>

#include <string>

#include "query/code_pattern.h"
#include "query/pasted_code.h"
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

std::basic_string<WideChar> Widened(const std::string& ascii) {
    return std::basic_string<WideChar>(ascii.begin(), ascii.end());
}

// The most the window reads: 4,096 characters of a kernel log without a
// code. Then the longest form, fixed-format sense bytes written with 0x,
// and the kernel's two lines of labelled values.
std::basic_string<WideChar> PastedText(int which) {
    if (which == 0) {
        std::string log;
        while (log.size() < kPastedTextLimit)
            log += "sd 2:0:0:0: [sdb] tag#0 FAILED Result: hostbyte=DID_OK driverbyte=DRIVER_SENSE cmd_age=0s\r\n";
        return Widened(log.substr(0, kPastedTextLimit));
    }
    if (which == 1)
        return Widened("0x70 0x00 0x06 0x00 0x00 0x00 0x00 0x0a 0x00 0x00 0x00 0x00 0x29 0x00 0x00 0x00 0x00 0x00");
    return Widened("sd 2:0:0:0: [sdb] Sense Key : 0x3 [current]\r\nsd 2:0:0:0: [sdb] ASC=0x11 ASCQ=0x0");
}

void ReadPastedText(benchmark::State& state) {
    std::basic_string<WideChar> text = PastedText(static_cast<int>(state.range(0)));
    PackedCode code = 0;
    bool found = false;
    for (auto _ : state) {
        found = ReadSenseCode(text.data(), static_cast<int>(text.size()), &code);
        benchmark::DoNotOptimize(found);
        benchmark::DoNotOptimize(code);
    }
    char label[32];
    if (found) std::snprintf(label, sizeof label, "%zu units, found %05X", text.size(), static_cast<unsigned>(code));
    else std::snprintf(label, sizeof label, "%zu units, no code", text.size());
    state.SetLabel(label);
}

}  // namespace

BENCHMARK(ReadPastedText)->DenseRange(0, 2);
BENCHMARK_TEMPLATE(PatternAndScan, MatchesPattern)->DenseRange(0, 4);
BENCHMARK_TEMPLATE(PatternAndScan, MatchesByRendering)->DenseRange(0, 4);
BENCHMARK_MAIN();
