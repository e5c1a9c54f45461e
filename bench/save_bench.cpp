// Time of the three saves at the end of a run (settings, variables,
// history) with 1,000 variables and 255 history entries.
// Run: build/bench/quenmark_save_bench
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/line_session.h"
#include "app/settings.h"
#include "expression/interpreter.h"

namespace quenmark {
namespace {

void BM_SaveAll(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / ("quenmark-save-bench-" + std::to_string(getpid()) + ".cfg");
    std::filesystem::remove(path);
    TCCInterpreter interpreter;
    TSettings settings(path.string());
    settings.MaxHistory = 255;
    TLineSession session(interpreter, settings);
    for (int i = 0; i < 1000; ++i) interpreter.ProcessLine("v" + std::to_string(i) + " = " + std::to_string(i) + ".5");
    interpreter.OutputLines().clear();
    for (int i = 0; i < 255; ++i) session.ExecuteLine(std::to_string(i) + " * 3");
    for (auto _ : state) session.SaveAll();
    std::filesystem::remove(path);
}

BENCHMARK(BM_SaveAll)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenmark

BENCHMARK_MAIN();
