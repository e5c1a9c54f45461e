// Throughput of the interpreter on typical lines, with the heap allocations
// each line costs. Run: build/bench/quenmark_bench
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "expression/interpreter.h"
#include "base/exception.h"

namespace {
std::atomic<long long> allocationCount{0};
}  // namespace

// Counting replacements of the global allocation functions. GCC cannot see
// that the replaced operator new pairs with free, hence the pragma.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace quenmark {
namespace {

void RunLines(benchmark::State& state, const std::vector<std::string>& setup, const std::vector<std::string>& lines) {
    TCCInterpreter interpreter;
    for (const std::string& line : setup) interpreter.ProcessLine(line);
    interpreter.OutputLines().clear();
    long long processed = 0;
    const long long allocationsBefore = allocationCount.load();
    for (auto _ : state) {
        for (const std::string& line : lines) {
            try {
                interpreter.ProcessLine(line);
            } catch (const EINError&) {
            }
            interpreter.OutputLines().clear();
        }
        processed += static_cast<long long>(lines.size());
    }
    const double allocations = static_cast<double>(allocationCount.load() - allocationsBefore);
    state.SetItemsProcessed(processed);
    state.counters["allocs/line"] = processed ? allocations / static_cast<double>(processed) : 0;
}

void BM_SimpleLine(benchmark::State& state) { RunLines(state, {}, {"12345*678+9"}); }

void BM_MixedLines(benchmark::State& state) {
    RunLines(state, {"x = 3", "y = 2.5", "s = \"ab\""},
             {"12345*678+9", "x = x * 2 % 1000 + 1", "y / 3 + 1.25", "0xFF + 0b101 + 017", "s + \"cd\"",
              "(x + 7) * (y - 1) / 4", "2147483647 + 1", "-x & 0xFFFF | 3", "@HEX", "x * 256", "@OCT", "x + 1",
              "@BIN", "x", "@FORMAT \"#,##0.00\"", "@DEC", "1234567.891", "@FORMAT \"\"", "@STAT"});
}

BENCHMARK(BM_SimpleLine);
BENCHMARK(BM_MixedLines);

}  // namespace
}  // namespace quenmark

BENCHMARK_MAIN();
