#include "app/streamed_merge.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "base/context.h"
#include "definitions/profile.h"
#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

using testing::TempDirectory;

const std::string Header = "[Information]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n";

// A merge of the kind a session saves: a key set, the first section's file
// lines kept with one added, the second section's replaced.
TSettingsMerge SampleMerge() {
    TSettingsMerge merge([](TProfileText& file) {
        file.SetValue("Others", "Key", " new value ");
        file.SetValue("Added", "One", "1");
    });
    merge.Sections = {
        {"Variables",
         [](const TSectionLines& fileLines, const TLineVisitor& out) {
             fileLines(out);
             out(";added");
         }},
        {"History", [](const TSectionLines&, const TLineVisitor& out) { out(";h"); }},
    };
    return merge;
}

TEST(StreamedMergeTest, WritesTheBytesOfTheWholeFileMerge) {
    const struct {
        const char* Behaviour;
        std::string File;
    } rows[] = {
        {"both sections", Header + "[Others]\r\nKey=old\r\n[Variables]\r\n ;v1 \r\n;v2\r\n[History]\r\n;h1\r\n"},
        {"history before the variables", Header + "[History]\r\n;h1\r\n[Variables]\r\n;v1\r\n[Others]\r\nx=1\r\n"},
        {"no sections: added at the end", Header + "\t[Others]  \r\nKey = old\r\n"},
        {"only the history, last in the file", Header + "[History]\r\n;h1\r\n;h2"},
        {"a second section of a name stays", Header + "[Variables]\r\n;a\r\n[Variables]\r\n;b\r\n"},
        {"a header that is not exact is not the section", Header + "[ Variables ]\r\n;a\r\n"},
        {"line ends of every kind and a mark", "\xEF\xBB\xBF" + Header + "[Variables]\r;a\n;b\r\n[X]\ry=2"},
        {"empty file", ""},
    };
    TempDirectory dir;
    const TSettingsMerge merge = SampleMerge();
    for (const auto& row : rows) {
        const std::string path = dir.Write("s.cfg", row.File);
        const std::string expected = RenderSettingsFile(TProfileText(row.File), merge);
        ASSERT_TRUE(WriteStreamedMerge(path, path, merge)) << row.Behaviour;
        EXPECT_EQ(dir.Read("s.cfg"), expected) << row.Behaviour;
    }
}

TEST(StreamedMergeTest, MissingSourceStandsForAnEmptyFile) {
    TempDirectory dir;
    const TSettingsMerge merge = SampleMerge();
    ASSERT_TRUE(WriteStreamedMerge(dir.PathOf("none.cfg"), dir.PathOf("s.cfg"), merge));
    EXPECT_EQ(dir.Read("s.cfg"), RenderSettingsFile(TProfileText(), merge));
}

TEST(StreamedMergeTest, RunningOutOfMemoryLeavesTheFileAndIsReported) {
    TempDirectory dir;
    const std::string old = Header + "[Variables]\r\n;v1\r\n[History]\r\n;h1\r\n";
    const std::string path = dir.Write("s.cfg", old);
    for (const bool streamed : {true, false}) {
        TSettingsMerge merge([streamed](TProfileText&) {
            if (!streamed) throw std::bad_alloc();
        });
        if (streamed)
            merge.Sections = {{"Variables", [](const TSectionLines& fileLines, const TLineVisitor& out) {
                                   fileLines(out);  // part of the file is written before memory runs out
                                   throw std::bad_alloc();
                               }}};
        const TCCContext context;
        const TSaveOutcome outcome = UpdateSettingsFile(context, path, merge);
        EXPECT_FALSE(outcome.Saved) << streamed;
        EXPECT_EQ(outcome.Reason, context.GetText("QEN420")) << streamed;
        EXPECT_EQ(dir.Read("s.cfg"), old) << streamed;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            EXPECT_EQ(entry.path().filename().string().find(".s.cfg.tmp"), std::string::npos)
                << "a temporary file was left: " << entry.path();
    }
}

}  // namespace
}  // namespace quenmark
