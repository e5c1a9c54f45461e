#include "definitions/messages.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/context.h"
#include "definitions/profile.h"
#include "definitions/profile_cache.h"
#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

using testing::TempDirectory;

const char* const ValidHeader = "[Information]\nPurpose=Quenmark Version 1.1 Message File\n";

// A message file with one stored text for the code INT041.
std::string FileWithText(const std::string& stored) {
    return std::string(ValidHeader) + "[Messages]\nINT041=" + stored + "\n";
}

TEST(MessagesTest, ACatalogueWithoutAFileGivesTheCodes) {
    const TCCMessages messages;
    EXPECT_EQ(messages.FileName(), "");
    EXPECT_EQ(messages.Language(), "English");
    EXPECT_EQ(messages.Codepage(), 1252);
    EXPECT_EQ(messages.GetText("INT041"), "INT041");
    EXPECT_EQ(messages.GetTextWith("INT041", "x"), "INT041");
}

struct HeaderRow {
    const char* behaviour;
    const char* information;  // the section "Information", or ""
    const char* language;
    int32_t codepage;
};

class MessagesHeaderTest : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(MessagesHeaderTest, HeaderDecidesOnLanguageAndCodepageOnly) {
    const HeaderRow& row = GetParam();
    TempDirectory dir;
    dir.Write("m.msg", std::string(row.information) + "[Messages]\nINT001=Syntax error.\n");
    const TCCMessages messages(Plain, "m.msg", dir.Path());
    EXPECT_EQ(messages.Language(), row.language) << row.behaviour;
    EXPECT_EQ(messages.Codepage(), row.codepage) << row.behaviour;
    EXPECT_EQ(messages.GetText("INT001"), "Syntax error.") << row.behaviour << ": texts are served regardless";
}

INSTANTIATE_TEST_SUITE_P(Rows, MessagesHeaderTest, ::testing::Values(
    HeaderRow{"valid header", "[Information]\nPurpose=Quenmark Version 1.1 Message File\nLanguage=Deutsch\n"
                              "Codepage=65001\n", "Deutsch", 65001},
    HeaderRow{"valid header without keys", "[Information]\nPurpose=Quenmark Version 1.1 Message File\n",
              "English", 1252},
    HeaderRow{"purpose in other letter case", "[Information]\nPurpose=quenmark version 1.1 message file\n"
                                              "Language=Deutsch\nCodepage=65001\n", "English", 1252},
    HeaderRow{"purpose with another version", "[Information]\nPurpose=Quenmark Version 1.0 Message File\n"
                                              "Language=Deutsch\n", "English", 1252},
    HeaderRow{"no header", "", "English", 1252}
));

// A run that shows no text never reads the message file; the first text or
// header asked for reads it once.
TEST(MessagesTest, TheFileIsReadAtTheFirstTextOnly) {
    TempDirectory dir;
    dir.Write("m.msg", FileWithText("found"));
    for (const bool headerFirst : {false, true}) {
        TProfileCache store;
        TCCContext context;
        context.SetFiles(&store);
        const TCCMessages messages(context, "m.msg", dir.Path());
        EXPECT_EQ(store.ReadCount(), 0u) << headerFirst;
        if (headerFirst) {
            EXPECT_EQ(messages.Language(), "English");
        }
        EXPECT_EQ(messages.GetText("INT041"), "found") << headerFirst;
        EXPECT_EQ(messages.Codepage(), 1252) << headerFirst;
        EXPECT_EQ(store.ReadCount(), 1u) << headerFirst;
    }
}

TEST(MessagesTest, MissingFileGivesTheCodes) {
    TempDirectory dir;
    const TCCMessages messages(Plain, "none.msg", dir.Path());
    EXPECT_EQ(messages.FullPath(), dir.PathOf("none.msg"));
    EXPECT_EQ(messages.GetText("QEN001"), "QEN001");
    EXPECT_EQ(messages.GetTextWith("INT041", "abc"), "INT041");
}

struct TextRow {
    const char* behaviour;
    std::string stored;
    std::string expected;
};

class MessagesEscapeTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(MessagesEscapeTest, ExpandsTheEscapes) {
    const TextRow& row = GetParam();
    TempDirectory dir;
    dir.Write("m.msg", FileWithText(row.stored));
    EXPECT_EQ(TCCMessages(Plain, "m.msg", dir.Path()).GetText("INT041"), row.expected) << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, MessagesEscapeTest, ::testing::Values(
    TextRow{"tab and line break", "A\\tB\\NC", "A\tB\r\nC"},
    TextRow{"both letter cases", "\\T\\t\\n\\N", "\t\t\r\n\r\n"},
    TextRow{"backslash before n in a path breaks the line", "C:\\new", "C:\r\new"},
    TextRow{"no escape for a backslash", "a\\\\tb", "a\\\tb"},
    TextRow{"other backslashes stay", "a\\x\\", "a\\x\\"},
    TextRow{"cut at 255 before expansion", std::string(250, 'a') + "\\n" + std::string(10, 'b'),
            std::string(250, 'a') + "\r\n" + "bbb"},
    TextRow{"escape cut in half stays a backslash", std::string(254, 'a') + "\\n", std::string(254, 'a') + "\\"}
));

struct ArgumentRow {
    const char* behaviour;
    const char* stored;
    const char* argument;
    const char* expected;
};

class MessagesArgumentTest : public ::testing::TestWithParam<ArgumentRow> {};

TEST_P(MessagesArgumentTest, ReplacesEveryPercentOneOnce) {
    const ArgumentRow& row = GetParam();
    TempDirectory dir;
    dir.Write("m.msg", FileWithText(row.stored));
    EXPECT_EQ(TCCMessages(Plain, "m.msg", dir.Path()).GetTextWith("INT041", row.argument), row.expected)
        << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, MessagesArgumentTest, ::testing::Values(
    ArgumentRow{"one %1", "Unknown name: %1.", "abc", "Unknown name: abc."},
    ArgumentRow{"two %1", "%1 and %1", "x", "x and x"},
    ArgumentRow{"adjacent %1", "%1%1", "ab", "abab"},
    ArgumentRow{"no %1", "Syntax error.", "x", "Syntax error."},
    ArgumentRow{"%2 is no placeholder", "%2 %1", "x", "%2 x"},
    ArgumentRow{"argument holding %1 inserted literally", "[%1]", "%1", "[%1]"},
    ArgumentRow{"argument holding escapes inserted unchanged", "[%1]", "a\\nb\\t", "[a\\nb\\t]"},
    ArgumentRow{"empty argument", "<%1>", "", "<>"},
    ArgumentRow{"escape next to %1 expanded before", "%1\\n", "x", "x\r\n"}
));

TEST(MessagesTest, MissingCodeInAValidFileGivesTheCode) {
    TempDirectory dir;
    dir.Write("m.msg", FileWithText("text"));
    const TCCMessages messages(Plain, "m.msg", dir.Path());
    EXPECT_EQ(messages.GetText("INT042"), "INT042");
    EXPECT_EQ(messages.GetTextWith("INT042", "x"), "INT042");
}

TEST(MessagesTest, KeyInSmallLettersServesTheCode) {
    TempDirectory dir;
    dir.Write("m.msg", std::string(ValidHeader) + "[messages]\nint041=found\n");
    EXPECT_EQ(TCCMessages(Plain, "m.msg", dir.Path()).GetText("INT041"), "found");
}

TEST(MessagesTest, AnEditIsSeenByTheNextLookup) {
    TempDirectory dir;
    const std::string path = dir.Write("m.msg", FileWithText("first"));
    const TCCMessages messages(Plain, "m.msg", dir.Path());
    ASSERT_EQ(messages.GetText("INT041"), "first");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << FileWithText("other");
    EXPECT_EQ(messages.GetText("INT041"), "other");
    ASSERT_TRUE(WriteProfileString(Plain, path, "Messages", "INT041", "third"));
    EXPECT_EQ(messages.GetText("INT041"), "third");
}

TEST(ContextMessagesTest, GetTextConsultsTheCatalogueInForce) {
    TempDirectory dir;
    dir.Write("a.msg", FileWithText("from a: %1"));
    dir.Write("b.msg", FileWithText("from b: %1"));
    TCCMessages a(Plain, "a.msg", dir.Path());
    TCCMessages b(Plain, "b.msg", dir.Path());
    TCCContext context;
    context.SetMessages(&a);
    EXPECT_EQ(context.Messages(), &a);
    EXPECT_EQ(context.GetTextWith("INT041", "x"), "from a: x");
    context.SetMessages(&b);
    EXPECT_EQ(context.GetText("INT041"), "from b: %1");
    EXPECT_EQ(context.GetText("INT042"), "INT042");
    context.SetMessages(nullptr);
    EXPECT_EQ(context.Messages(), nullptr);
    EXPECT_EQ(context.GetTextWith("INT041", "x"), "INT041");
}

}  // namespace
}  // namespace quenmark
