// Cost of one long line: a sum of N terms "1+1+...+1" tokenized, compiled and
// run, with the shipped modules loaded so that every token position is also
// offered to the module tokenizers. Reports the time and the peak heap per
// term; both should stay flat as N grows.
// Run: build/bench/quenmark_long_line_bench
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>

#include "expression/interpreter.h"
#include "loaded_calculator.h"

namespace {
// Bytes held by the heap and the most held since the last reset, counted
// only while counting is on so that the timed runs pay nothing for it. The
// benchmark runs on one thread.
bool counting = false;
long long liveBytes = 0;
long long peakBytes = 0;

void CountAllocation(void* p) {
    if (!counting) return;
    liveBytes += static_cast<long long>(malloc_usable_size(p));
    peakBytes = std::max(peakBytes, liveBytes);
}

void CountRelease(void* p) {
    if (counting && p) liveBytes -= static_cast<long long>(malloc_usable_size(p));
}
}  // namespace

// Counting replacements of the global allocation functions. GCC cannot see
// that the replaced operator new pairs with free, hence the pragma.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    CountAllocation(p);
    return p;
}
void operator delete(void* p) noexcept {
    CountRelease(p);
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    CountRelease(p);
    std::free(p);
}
#pragma GCC diagnostic pop

namespace quenmark {
namespace {

std::string SumOfOnes(size_t terms) {
    std::string line = "1";
    line.reserve(terms * 2);
    for (size_t i = 1; i < terms; ++i) line += "+1";
    return line;
}

// The most heap the line holds at once beyond what was held before it.
long long PeakHeapOfLine(TCCInterpreter& interpreter, const std::string& line) {
    liveBytes = 0;
    peakBytes = 0;
    counting = true;
    interpreter.ProcessLine(line);
    counting = false;
    interpreter.OutputLines().clear();
    return peakBytes;
}

void BM_LongSum(benchmark::State& state) {
    LoadedCalculator calculator;
    const auto terms = static_cast<size_t>(state.range(0));
    const std::string line = SumOfOnes(terms);
    TCCInterpreter& interpreter = calculator.Interpreter();
    const long long peak = PeakHeapOfLine(interpreter, line);
    for (auto _ : state) {
        interpreter.ProcessLine(line);
        if (interpreter.OutputLines().back() != std::to_string(terms)) state.SkipWithError("wrong sum");
        interpreter.OutputLines().clear();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    state.counters["peak_heap_bytes/term"] = static_cast<double>(peak) / static_cast<double>(terms);
    state.counters["ns/term"] = benchmark::Counter(static_cast<double>(terms),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

BENCHMARK(BM_LongSum)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenmark

BENCHMARK_MAIN();
