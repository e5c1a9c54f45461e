// Message lookups per second through GetText: on an unchanged message file,
// where the parsed copy serves every lookup with a file status check at most
// once per line or per check interval, against the same lookups with the
// file edited before each of them, where every edit must be seen at the
// start of the next line. Run: build/bench/quenmark_messages_bench
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "base/context.h"
#include "definitions/messages.h"
#include "definitions/profile.h"
#include "definitions/profile_cache.h"

namespace quenmark {
namespace {

// A message file of the shipped size in its own temporary directory.
class MessageFile {
public:
    MessageFile() {
        char pattern[] = "/tmp/quenmark-bench-XXXXXX";
        FDirectory = mkdtemp(pattern);
        for (int i = 1; i <= 120; ++i) {
            char code[8];
            std::snprintf(code, sizeof code, "INT%03d", i);
            FCodes.push_back(code);
        }
        WriteWith("000000");
        // A file modified just before it was read is read again at every
        // lookup for a short while (see TProfileCache); start past that.
        std::this_thread::sleep_for(TProfileCache::RacyInterval * 2);
    }
    ~MessageFile() { std::filesystem::remove_all(FDirectory); }

    const std::string& Directory() const { return FDirectory; }
    std::string Path() const { return FDirectory + "/Quenmark.msg"; }
    const std::vector<std::string>& Codes() const { return FCodes; }

    // Rewrites the file in place (same inode, same size) with a new stamp in
    // the text of the last code.
    void WriteWith(const std::string& stamp) const {
        std::string contents = "[Information]\r\nPurpose=Quenmark Version 1.1 Message File\r\n[Messages]\r\n";
        for (const std::string& code : FCodes) contents += code + "=The text of message " + code + " about %1.\r\n";
        contents += "QEN101=Edited " + stamp + "\r\n";
        const int fd = open(Path().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || write(fd, contents.data(), contents.size()) != static_cast<ssize_t>(contents.size())) std::abort();
        close(fd);
    }

private:
    std::string FDirectory;
    std::vector<std::string> FCodes;
};

std::string Stamp(int64_t n) {
    char text[8];
    std::snprintf(text, sizeof text, "%06lld", static_cast<long long>(n % 1000000));
    return text;
}

void ReportRate(benchmark::State& state) {
    state.counters["lookups_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_GetTextUnchangedFile(benchmark::State& state) {
    MessageFile file;
    TProfileCache files;
    TCCContext context;
    context.SetFiles(&files);
    TCCMessages messages(context, "Quenmark.msg", file.Directory());
    context.SetMessages(&messages);
    if (context.GetText("INT001") != "The text of message INT001 about %1.") state.SkipWithError("wrong text");
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(context.GetText(file.Codes()[next]));
        if (++next == file.Codes().size()) next = 0;
    }
    ReportRate(state);
}
BENCHMARK(BM_GetTextUnchangedFile)->UseRealTime();

void BM_GetTextAfterInPlaceEdit(benchmark::State& state) {
    MessageFile file;
    TProfileCache files;
    TCCContext context;
    context.SetFiles(&files);
    TCCMessages messages(context, "Quenmark.msg", file.Directory());
    context.SetMessages(&messages);
    int64_t edits = 0;
    for (auto _ : state) {
        const std::string stamp = Stamp(++edits);
        file.WriteWith(stamp);
        files.Revalidate();  // as the start of a line does
        if (context.GetText("QEN101") != "Edited " + stamp) {
            state.SkipWithError("an edit was not seen");
            break;
        }
    }
    ReportRate(state);
}
BENCHMARK(BM_GetTextAfterInPlaceEdit)->UseRealTime();

void BM_GetTextAfterWriteProfileString(benchmark::State& state) {
    MessageFile file;
    TProfileCache files;
    TCCContext context;
    context.SetFiles(&files);
    TCCMessages messages(context, "Quenmark.msg", file.Directory());
    context.SetMessages(&messages);
    int64_t edits = 0;
    for (auto _ : state) {
        const std::string stamp = Stamp(++edits);
        WriteProfileString(context, file.Path(), "Messages", "QEN101", "Edited " + stamp);
        if (context.GetText("QEN101") != "Edited " + stamp) {
            state.SkipWithError("an edit was not seen");
            break;
        }
    }
    ReportRate(state);
}
BENCHMARK(BM_GetTextAfterWriteProfileString)->UseRealTime();

}  // namespace
}  // namespace quenmark

BENCHMARK_MAIN();
