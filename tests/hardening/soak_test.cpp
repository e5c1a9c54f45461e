// Feeds the terminal front end a long stream of lines in one run, checks
// the output of every line against what the line must give, and samples
// the process's resident memory (VmRSS) as it goes: after the first
// thousand lines it must stay flat. QUENMARK_SOAK_LINES sets the number of
// lines (20000 by default; `make soak` runs a million).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/cached_context.h"
#include "console_process.h"
#include "definitions/messages.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

// Growth allowed after the first thousand lines: allocator noise, far below
// what a few bytes kept per line would add up to over a long run. The
// sanitizer's allocator takes a few thousand lines longer to settle.
#if defined(__SANITIZE_ADDRESS__)
constexpr long FlatToleranceKiB = 4096;
#else
constexpr long FlatToleranceKiB = 1024;
#endif
constexpr long BaselineLine = 1000;

// Line number `index` of the stream and the output lines it must give. The
// kinds take turns: integer and real arithmetic, an assignment and its use,
// the shipped modules' functions and operators, strings, and errors.
class SoakLines {
public:
    explicit SoakLines(const TCCMessages& messages) : FMessages(messages) {}

    std::pair<std::string, std::string> Line(long index) const {
        const std::string k = std::to_string(index);
        switch (index % 10) {
        case 0: return {k + " + 1", std::to_string(index + 1)};
        case 1: return {"a = " + k + " * 3", std::to_string(index * 3)};
        case 2: return {"a - " + k, std::to_string(index * 2 - 3)};  // a is three times the line before
        case 3: return {"LEN(\"" + std::string(static_cast<size_t>(index % 50), 'x') + "\")", std::to_string(index % 50)};
        case 4: return {"2**" + std::to_string(index % 20), std::to_string(1L << (index % 20))};
        case 5: return {k + " mod 7", std::to_string(index % 7)};
        case 6: return {"1 / 0", FMessages.GetText("CVM005")};
        case 7: {
            const std::string name = "nosuch" + std::to_string(index % 100);
            return {name, FMessages.GetTextWith("INT044", name)};
        }
        case 8: return {"\"s\" + \"" + k + "\"", "\"s" + k + "\""};
        default: return {std::to_string(index % 1000) + " / 4", Quarter(index % 1000)};
        }
    }

private:
    static std::string Quarter(long number) {
        static const char* const fractions[] = {"", ".25", ".5", ".75"};
        return std::to_string(number / 4) + fractions[number % 4];
    }

    const TCCMessages& FMessages;
};

// Reads the front end's output line by line and checks it against the
// stream, sampling the resident memory at the given line numbers.
class OutputChecker {
public:
    OutputChecker(const SoakLines& lines, long count) : FLines(lines), FCount(count) {}

    // Checks the complete lines of text; keeps a partial last line.
    void Take(const std::string& text) {
        FPending += text;
        size_t start = 0;
        for (size_t end; (end = FPending.find('\n', start)) != std::string::npos; start = end + 1)
            Check(FPending.substr(start, end - start));
        FPending.erase(0, start);
    }

    long Checked() const { return FNext; }
    long Mismatches() const { return FMismatches; }
    const std::vector<std::string>& FirstMismatches() const { return FFirst; }

private:
    void Check(const std::string& line) {
        if (!FStarted) {  // the banner and the welcome text come first
            if (line.rfind("> ", 0) != 0) return;
            FStarted = true;
        }
        if (FNext >= FCount) return Mismatch("output after the last line: " + line);
        const auto [input, output] = FLines.Line(FNext);
        if (!FEchoSeen) {
            if (line != "> " + input) Mismatch("line " + std::to_string(FNext) + " echo: " + line);
            FEchoSeen = true;
            return;
        }
        if (line != output) Mismatch("line " + std::to_string(FNext) + " (" + input + "): " + line + " instead of " + output);
        FEchoSeen = false;
        ++FNext;
    }

    void Mismatch(const std::string& what) {
        ++FMismatches;
        if (FFirst.size() < 10) FFirst.push_back(what);
    }

    const SoakLines& FLines;
    long FCount;
    long FNext = 0;
    bool FStarted = false;
    bool FEchoSeen = false;
    long FMismatches = 0;
    std::vector<std::string> FFirst;
    std::string FPending;
};

long EnvironmentNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atol(text) : fallback;
}

class SoakTest : public ::testing::Test {
protected:
    void SetUp() override {
        program_ = fs::temp_directory_path() / ("quenmark-soak-" + std::to_string(getpid()));
        test::CopyProgramDirectory(program_);
    }
    void TearDown() override { fs::remove_all(program_); }

    fs::path program_;
};

void WriteStream(ConsoleProcess& console, const SoakLines& lines, long count) {
    std::string chunk;
    for (long i = 0; i < count; ++i) {
        chunk += lines.Line(i).first + "\n";
        if (chunk.size() >= 65536 || i + 1 == count) {
            if (!console.Write(chunk)) break;
            chunk.clear();
        }
    }
    console.CloseInput();
}

TEST_F(SoakTest, LongRunKeepsEveryAnswerRightAndMemoryFlat) {
    const long count = std::max(EnvironmentNumber("QUENMARK_SOAK_LINES", 20000), 2 * BaselineLine);
    const testing::CachedContext context;
    const TCCMessages messages(context, "Quenmark.msg", program_.string() + "/");
    const SoakLines lines(messages);
    OutputChecker checker(lines, count);
    // The sanitizer's quarantine of freed blocks would grow the process by
    // itself; none keeps the other checks and lets the memory settle.
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    setenv("ASAN_OPTIONS", (std::string(sanitizerOptions ? sanitizerOptions : "") + ":quarantine_size_mb=0").c_str(), 1);

    ConsoleProcess console(program_.string());
    std::thread writer(WriteStream, std::ref(console), std::cref(lines), count);

    const long sampleEvery = std::max(count / 50, BaselineLine);
    std::vector<std::pair<long, long>> samples;  // line, KiB
    long nextSample = BaselineLine;
    const auto start = std::chrono::steady_clock::now();
    while (checker.Checked() < count) {
        if (!console.ReadUntil("\n", std::chrono::milliseconds(60000))) break;
        checker.Take(console.Output());
        console.ClearOutput();
        if (checker.Checked() >= nextSample) {
            samples.emplace_back(checker.Checked(), ResidentKiB(console.Pid()));
            while (nextSample <= checker.Checked()) nextSample += sampleEvery;
        }
    }
    const long afterLines = ResidentKiB(console.Pid());
    writer.join();
    const int status = console.Wait();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    EXPECT_EQ(checker.Checked(), count) << "lines answered";
    EXPECT_EQ(checker.Mismatches(), 0) << (checker.FirstMismatches().empty() ? "" : checker.FirstMismatches().front());
    for (const std::string& mismatch : checker.FirstMismatches()) ADD_FAILURE() << mismatch;

    ASSERT_FALSE(samples.empty());
    const long baseline = samples.front().second;
    long highest = baseline;
    std::cout << "soak: " << count << " lines in " << seconds << " s; VmRSS samples (line: KiB):\n";
    for (const auto& [line, kib] : samples) {
        std::cout << "  " << line << ": " << kib << "\n";
        highest = std::max(highest, kib);
    }
    std::cout << "  after the last line: " << afterLines << "\n  growth after line " << BaselineLine << ": "
              << highest - baseline << " KiB\n";
    EXPECT_LE(highest - baseline, FlatToleranceKiB) << "resident memory grows after the first thousand lines";
}

}  // namespace
}  // namespace quenmark
