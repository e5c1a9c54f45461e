// Modules loaded through the index of the user's cache folder: each module
// only when a line needs it, with the same names, precedence, notices and
// output as when every module loads at start.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/calculator_process.h"
#include "app/module_index.h"
#include "module_test_support.h"
#include "support/file_bytes.h"
#include "support/transcript.h"
#include "support/transcript_session.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;
using testing::ModuleDirectory;

enum class TLoading { AtStart, OnDemand };

// A process of the program on chosen module folders and cache folder.
struct TRun {
    TRun(const std::string& settings, const std::vector<TModuleFolder>& folders, const std::string& cache,
         TLoading loading)
        : Process(settings) {
        Process.LoadLanguages();
        Process.CreateInterpreter();
        Process.SetModuleFolderList(folders);
        Process.SetModuleCacheDirectory(cache);
        if (loading == TLoading::OnDemand) Process.LoadModulesOnDemand();
        else Process.LoadModules();
    }
    std::vector<std::string> Lines(const std::string& line) {
        TCCInterpreter& interpreter = Process.Interpreter();
        interpreter.OutputLines().clear();
        try {
            interpreter.ProcessLine(line);
        } catch (const Exception& error) {
            return {error.what()};
        }
        return interpreter.OutputLines();
    }
    std::string Line(const std::string& line) {
        const std::vector<std::string> lines = Lines(line);
        return lines.size() == 1 ? lines.front() : "(" + std::to_string(lines.size()) + " lines)";
    }
    size_t Loaded() { return Process.ModuleList().Count(); }

    TCalculatorProcess Process;
};

class ModulesOnDemandTest : public ::testing::Test {
protected:
    std::unique_ptr<TRun> Start(TLoading loading = TLoading::OnDemand) {
        return std::make_unique<TRun>(scratch_.Path() + "quenmark.ini", std::vector<TModuleFolder>{{folder_.Path(), false}},
                                      scratch_.Path() + "cache/", loading);
    }
    std::string CacheFile() const { return scratch_.Path() + "cache/" + QuarantineFileName; }

    ModuleDirectory scratch_{"on_demand_scratch"};
    ModuleDirectory folder_{"on_demand_modules"};
};

TEST_F(ModulesOnDemandTest, ALineThatUsesNoModuleLoadsNone) {
    folder_.Copy("valid", "a_valid.vmx");
    folder_.Copy("tokenizer_hash", "b_hash.vmx");
    EXPECT_EQ(Start()->Loaded(), 2u);  // unknown to the index: loaded once, and indexed
    const auto run = Start();
    EXPECT_EQ(run->Loaded(), 0u);
    EXPECT_EQ(run->Line("1 + 2"), "3");
    EXPECT_EQ(run->Loaded(), 0u);
    // Constants come from the index without loading their module.
    EXPECT_EQ(run->Line("IntConst"), "42");
    EXPECT_EQ(run->Loaded(), 0u);
    // A call loads the module that gives the function, Init and output first.
    EXPECT_EQ(run->Line("WHO()"), "1");
    ASSERT_EQ(run->Loaded(), 1u);
    EXPECT_EQ(run->Process.ModuleList()[0].FileName(), "a_valid.vmx");
    const std::string calls = testing::ControlOf(run->Process.ModuleList()[0]).CallLog;
    EXPECT_EQ(calls.find("Init "), 0u) << calls;
    EXPECT_LT(calls.find("SetStdout "), calls.find("FunctionDispatcher ")) << calls;
    EXPECT_EQ(calls.find("GetConstants"), std::string::npos) << calls;
    // A token that starts with a character the tokenizer declared loads it.
    run->Lines("#");
    EXPECT_EQ(run->Loaded(), 2u);
}

TEST_F(ModulesOnDemandTest, AReplacedModuleFileIsIndexedAgain) {
    folder_.Copy("valid", "m.vmx");
    Start();
    EXPECT_EQ(Start()->Line("WHO()"), "1");
    fs::remove(folder_.Path() + "m.vmx");
    folder_.Copy("dup_b", "m.vmx");  // another file: another inode and size
    const auto run = Start();
    EXPECT_EQ(run->Loaded(), 1u);  // rebuilt by loading it once
    EXPECT_EQ(run->Line("TWIN(1, 2)"), "202");
    EXPECT_EQ(run->Line("WHO()"), run->Process.Context().GetTextWith("INT044", "WHO"));
    EXPECT_EQ(Start()->Loaded(), 0u);
    const std::string index = FileBytes(CacheFile());
    EXPECT_NE(index.find("function TWIN\t"), std::string::npos) << index;
    EXPECT_EQ(index.find("function Who\t"), std::string::npos) << index;
}

TEST_F(ModulesOnDemandTest, AModuleAddedOrRemovedIsSeenAtTheNextStart) {
    folder_.Copy("valid", "a.vmx");
    Start();
    folder_.Copy("funcs_only", "b.vmx");
    EXPECT_EQ(Start()->Lines("@MOD").size(), 3u);
    fs::remove(folder_.Path() + "a.vmx");
    const auto run = Start();
    const std::vector<std::string> listed = run->Lines("@MOD");
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1].substr(0, 7), "  b.vmx");
    EXPECT_EQ(FileBytes(CacheFile()).find("/a.vmx\n"), std::string::npos);
}

// A broken module gives the same notice from the index, and is not loaded
// again to give it; one that broke a rule halfway keeps what it entered.
TEST_F(ModulesOnDemandTest, ABrokenModuleInTheIndexStaysContained) {
    folder_.CopyAll({"no_info", "null_func_name", "valid"});
    folder_.Copy("not_a_library");
    const auto atStart = Start(TLoading::AtStart);
    const std::vector<std::string> notices = atStart->Process.ModuleList().Notices();
    ASSERT_EQ(notices.size(), 3u);
    const std::vector<std::string> functions = atStart->Lines("@FNC");
    Start();
    const auto run = Start();
    EXPECT_EQ(run->Process.ModuleList().Notices(), notices);
    EXPECT_EQ(run->Lines("@FNC"), functions);
    EXPECT_FALSE(testing::IsLibraryLoaded(folder_.Path() + "no_info.vmx"));
    EXPECT_EQ(run->Loaded(), 0u);
}

TEST_F(ModulesOnDemandTest, TheFirstGiverOfAFunctionKeepsItsCountAndTheLastOneRunsIt) {
    folder_.Copy("dup_a", "a.vmx");
    folder_.Copy("dup_b", "b.vmx");
    const auto atStart = Start(TLoading::AtStart);
    const std::string expected = atStart->Line("TWIN(1)") + " " + atStart->Line("DUP");
    Start();
    const auto run = Start();
    EXPECT_EQ(run->Line("TWIN(1)") + " " + run->Line("DUP"), expected);
    EXPECT_EQ(expected, "201 2");
}

TEST_F(ModulesOnDemandTest, WithoutAWritableCacheEveryModuleLoadsAtStartSilently) {
    folder_.CopyAll({"valid", "funcs_only"});
    scratch_.WriteFile("cache", "a file where the folder would be");
    const auto run = Start();
    EXPECT_EQ(run->Loaded(), 2u);
    EXPECT_TRUE(run->Process.ModuleList().Notices().empty());
}

// Every transcript, with the shipped modules, gives the same output when
// the modules load as needed as when they all load at start.
std::vector<std::string> AllTranscripts() {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(QUENMARK_TEST_SCRIPTS_DIR))
        if (entry.is_regular_file() && entry.path().extension() == ".txt") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ModulesOnDemandTranscriptTest, EveryTranscriptGivesTheSameOutputEitherWay) {
    setenv("LC_ALL", "C", 1);
    ModuleDirectory scratch("on_demand_transcripts");
    const std::vector<TModuleFolder> shipped{{testing::ProgramModuleDirectory(), false}};
    const std::string cache = scratch.Path() + "cache/";
    TRun(scratch.Path() + "index.ini", shipped, cache, TLoading::OnDemand);
    size_t cases = 0;
    for (const std::string& file : AllTranscripts()) {
        for (const testing::Transcript& transcript : testing::ReadTranscriptCases(file)) {
            SCOPED_TRACE(file + ": " + transcript.Name);
            std::vector<std::string> atStart;
            {
                TRun run(scratch.Path() + "start.ini", shipped, cache, TLoading::AtStart);
                atStart = testing::RunThroughLineSession(run.Process.Interpreter(), transcript.Inputs);
            }
            TRun run(scratch.Path() + "demand.ini", shipped, cache, TLoading::OnDemand);
            ASSERT_EQ(run.Loaded(), 0u);  // every shipped module waits to be needed
            EXPECT_EQ(testing::RunThroughLineSession(run.Process.Interpreter(), transcript.Inputs), atStart);
            ++cases;
        }
    }
    EXPECT_GT(cases, 20u);
}

}  // namespace
}  // namespace quenmark
