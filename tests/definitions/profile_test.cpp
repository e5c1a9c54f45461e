#include "definitions/profile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <limits>
#include <stdexcept>

#include "base/context.h"
#include "definitions/temp_directory.h"
#include "support/cached_context.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

using testing::TempDirectory;

enum class Flag { True, False, Unchanged };

struct BoolRow {
    const char* behaviour;
    const char* line;  // the key line in section S, or "" for none
    Flag expected;
};

class ReadProfileBoolTest : public ::testing::TestWithParam<BoolRow> {};

TEST_P(ReadProfileBoolTest, SetsOrKeepsTheFlag) {
    const BoolRow& row = GetParam();
    TempDirectory dir;
    const std::string path = dir.Write("s.cfg", std::string("[S]\n") + row.line + "\n");
    for (bool initial : {false, true}) {
        bool flag = initial;
        ReadProfileBool(Plain, path, "S", "k", flag);
        const bool expected = row.expected == Flag::Unchanged ? initial : row.expected == Flag::True;
        EXPECT_EQ(flag, expected) << row.behaviour << " (caller's flag " << initial << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Values, ReadProfileBoolTest, ::testing::Values(
    BoolRow{"yes in small letters with blanks", "k=  yes  ", Flag::True},
    BoolRow{"YES", "k=YES", Flag::True},
    BoolRow{"Y", "k=y", Flag::True},
    BoolRow{"On", "k=On", Flag::True},
    BoolRow{"1", "k=1", Flag::True},
    BoolRow{"quoted yes", "k=\" yes \"", Flag::True},
    BoolRow{"n", "k=n", Flag::False},
    BoolRow{"No", "k=No", Flag::False},
    BoolRow{"OFF", "k=OFF", Flag::False},
    BoolRow{"0", "k=0", Flag::False},
    BoolRow{"2 keeps the flag", "k=2", Flag::Unchanged},
    BoolRow{"the word true keeps the flag", "k=true", Flag::Unchanged},
    BoolRow{"empty value keeps the flag", "k=", Flag::Unchanged},
    BoolRow{"missing key keeps the flag", "", Flag::Unchanged},
    BoolRow{"DEFAULT keeps the flag", "k=DEFAULT", Flag::Unchanged}
));

struct IntegerRow {
    const char* behaviour;
    const char* line;
    int32_t expected;  // with the default 77
};

class ReadProfileIntegerTest : public ::testing::TestWithParam<IntegerRow> {};

TEST_P(ReadProfileIntegerTest, ReadsTheLeadingNumber) {
    const IntegerRow& row = GetParam();
    TempDirectory dir;
    const std::string path = dir.Write("s.cfg", std::string("[S]\n") + row.line + "\n");
    int32_t value = 77;
    ReadProfileInteger(Plain, path, "S", "k", value);
    EXPECT_EQ(value, row.expected) << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Values, ReadProfileIntegerTest, ::testing::Values(
    IntegerRow{"plain number", "k=1234", 1234},
    IntegerRow{"negative number", "k=-5", -5},
    IntegerRow{"digits end at another character", "k=12abc", 12},
    IntegerRow{"no leading digit gives 0", "k=abc", 0},
    IntegerRow{"plus sign is no digit", "k=+5", 0},
    IntegerRow{"lone minus gives 0", "k=-", 0},
    IntegerRow{"surrounding blanks ignored", "k=   7   ", 7},
    IntegerRow{"empty value keeps the default", "k=", 77},
    IntegerRow{"missing key keeps the default", "", 77},
    IntegerRow{"largest value", "k=2147483647", 2147483647},
    IntegerRow{"smallest value", "k=-2147483648", std::numeric_limits<int32_t>::min()},
    IntegerRow{"beyond the range is held at the largest", "k=99999999999", 2147483647},
    IntegerRow{"beyond the range below is held at the smallest", "k=-99999999999",
               std::numeric_limits<int32_t>::min()}
));

TEST(ReadProfileStringTest, MissingFileSectionOrKeyGiveTheDefault) {
    TempDirectory dir;
    const std::string path = dir.Write("s.cfg", "[S]\nk=v\n");
    for (auto [file, section, key] : {std::tuple{dir.PathOf("none.cfg"), "S", "k"}, std::tuple{path, "X", "k"},
                                      std::tuple{path, "S", "x"}}) {
        std::string value = "default";
        ReadProfileString(Plain, file, section, key, value);
        EXPECT_EQ(value, "default") << file << " " << section << " " << key;
    }
    std::string value = "default";
    ReadProfileString(Plain, path, "s", "K", value);
    EXPECT_EQ(value, "v");
}

TEST(WriteProfileTest, WriterCreatesFileSectionsAndKeys) {
    TempDirectory dir;
    const std::string path = dir.PathOf("new.cfg");
    EXPECT_TRUE(WriteProfileString(Plain, path, "Others", "FontSize", "-5"));
    EXPECT_TRUE(WriteProfileString(Plain, path, "Others", "Top", "Yes"));
    EXPECT_TRUE(WriteProfileString(Plain, path, "Others", "Snap", "No"));
    EXPECT_TRUE(WriteProfileString(Plain, path, "Quen", "Name", "x y"));
    EXPECT_EQ(dir.Read("new.cfg"), "[Others]\r\nFontSize=-5\r\nTop=Yes\r\nSnap=No\r\n[Quen]\r\nName=x y\r\n");
}

TEST(WriteProfileTest, AWrittenValueIsSeenByTheNextRead) {
    TempDirectory dir;
    const std::string path = dir.Write("s.cfg", "[S]\nk=old\n");
    std::string value;
    ReadProfileString(Plain, path, "S", "k", value);
    ASSERT_EQ(value, "old");
    for (const char* text : {"first", "second", "third"}) {
        ASSERT_TRUE(WriteProfileString(Plain, path, "S", "k", text));
        ReadProfileString(Plain, path, "S", "k", value);
        EXPECT_EQ(value, text);
    }
}

TEST(WriteProfileTest, WriteIntoAMissingDirectoryFails) {
    TempDirectory dir;
    EXPECT_FALSE(WriteProfileString(Plain, dir.PathOf("none/s.cfg"), "S", "k", "v"));
    EXPECT_FALSE(std::filesystem::exists(dir.PathOf("none")));
}

// Lowers the file size limit so that every write beyond it fails, as on a
// full disk; works for every user, root included.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &FOld);
        rlimit limit = FOld;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld {};
    void (*FOldHandler)(int);
};

TEST(WriteProfileTest, AFailedWriteLeavesTheFileAndTheReadsAsTheyWere) {
    TempDirectory dir;
    const std::string original = "[S]\r\nk=old\r\n; comment\r\n";
    const std::string path = dir.Write("s.cfg", original);
    std::string value;
    ReadProfileString(Plain, path, "S", "k", value);
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(WriteProfileString(Plain, path, "S", "k", std::string(200, 'n')));
        EXPECT_FALSE(WriteSectionLines(Plain, path, "S", std::vector<std::string>(20, "line of the new section")));
    }
    EXPECT_EQ(dir.Read("s.cfg"), original);
    ReadProfileString(Plain, path, "S", "k", value);
    EXPECT_EQ(value, "old");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 1u) << "a temporary file was left behind";
}

TEST(WriteProfileTest, WriteKeepsPermissionsAndFollowsSymbolicLinks) {
    TempDirectory dir;
    const std::string target = dir.Write("target.cfg", "[S]\nk=1\n");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    const std::string link = dir.PathOf("link.cfg");
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(WriteProfileString(Plain, link, "S", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(dir.Read("target.cfg"), "[S]\r\nk=2\r\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
}

struct SectionReadRow {
    const char* behaviour;
    const char* contents;
    const char* section;
    std::vector<std::string> expected;
};

class ReadSectionLinesTest : public ::testing::TestWithParam<SectionReadRow> {};

TEST_P(ReadSectionLinesTest, AppendsTheTrimmedLines) {
    const SectionReadRow& row = GetParam();
    TempDirectory dir;
    const std::string path = dir.Write("s.cfg", row.contents);
    std::vector<std::string> lines{"kept"};
    ReadSectionLines(Plain, path, row.section, lines);
    std::vector<std::string> expected{"kept"};
    expected.insert(expected.end(), row.expected.begin(), row.expected.end());
    EXPECT_EQ(lines, expected) << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadSectionLinesTest, ::testing::Values(
    SectionReadRow{"lines up to the next section", "[A]\nx\n[Variables]\n;a\n  ;b  \n[History]\nh\n", "Variables",
                   {";a", ";b"}},
    SectionReadRow{"empty lines kept as empty strings", "[Variables]\na\n\nb\n", "Variables", {"a", "", "b"}},
    SectionReadRow{"key lines and comments alike", "[Variables]\nk=v\n;c\n", "Variables", {"k=v", ";c"}},
    SectionReadRow{"header in small letters not found", "[variables]\na\n", "Variables", {}},
    SectionReadRow{"indented header found", "  [Variables]\t\na\n", "Variables", {"a"}},
    SectionReadRow{"first of two sections", "[V]\na\n[V]\nb\n", "V", {"a"}},
    SectionReadRow{"indented section line ends it", "[V]\na\n  [W]\nb\n", "V", {"a"}},
    SectionReadRow{"missing section", "[A]\na\n", "V", {}}
));

TEST(ReadSectionLinesTest, MissingFileAppendsNothing) {
    TempDirectory dir;
    std::vector<std::string> lines;
    ReadSectionLines(Plain, dir.PathOf("none.cfg"), "V", lines);
    EXPECT_TRUE(lines.empty());
}

struct SectionWriteRow {
    const char* behaviour;
    const char* before;
    std::vector<std::string> lines;
    const char* after;
};

class WriteSectionLinesTest : public ::testing::TestWithParam<SectionWriteRow> {};

TEST_P(WriteSectionLinesTest, ReplacesTheSection) {
    const SectionWriteRow& row = GetParam();
    TempDirectory dir;
    const std::string path = dir.Write("s.cfg", row.before);
    ASSERT_TRUE(WriteSectionLines(Plain, path, "History", row.lines)) << row.behaviour;
    EXPECT_EQ(dir.Read("s.cfg"), row.after) << row.behaviour;
    std::vector<std::string> readBack;
    ReadSectionLines(Plain, path, "History", readBack);
    EXPECT_EQ(readBack.size(), row.lines.size()) << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteSectionLinesTest, ::testing::Values(
    SectionWriteRow{"new section appended at the end", "[Others]\nk=v\n", {";1+2", ";x"},
                    "[Others]\r\nk=v\r\n[History]\r\n;1+2\r\n;x\r\n"},
    SectionWriteRow{"following sections kept in their places",
                    "[A]\na=1\n[History]\nold\nolder\n[B]\nb=2\n[C]\nc=3\n", {"new"},
                    "[A]\r\na=1\r\n[History]\r\nnew\r\n[B]\r\nb=2\r\n[C]\r\nc=3\r\n"},
    SectionWriteRow{"every other line loses its indentation", "  [A]\n   a = 1  \n[History]\n x\n", {"  y"},
                    "[A]\r\na = 1\r\n[History]\r\n  y\r\n"},
    SectionWriteRow{"empty list leaves the section line alone", "[History]\nx\n[B]\n", {},
                    "[History]\r\n[B]\r\n"},
    SectionWriteRow{"header in other letter case is another section", "[history]\nx\n", {"y"},
                    "[history]\r\nx\r\n[History]\r\ny\r\n"},
    SectionWriteRow{"line break inside a line cannot start a section", "", {"a\n[B]"},
                    "[History]\r\na [B]\r\n"}
));

TEST(WriteSectionLinesTest, MissingFileIsNotCreated) {
    TempDirectory dir;
    EXPECT_FALSE(WriteSectionLines(Plain, dir.PathOf("none.cfg"), "History", {"x"}));
    EXPECT_FALSE(std::filesystem::exists(dir.PathOf("none.cfg")));
}

TEST(ReadFileLinesTest, GivesTheRawLines) {
    TempDirectory dir;
    const std::string path = dir.Write("u.uni", "[Units]\r\n\tkm\t1000  \r\n---");
    EXPECT_EQ(ReadFileLines(Plain, path), (std::vector<std::string>{"[Units]", "\tkm\t1000  ", "---"}));
    EXPECT_TRUE(ReadFileLines(Plain, dir.PathOf("none")).empty());
}

// The readers and writers share the parsed copies of the context's store;
// a context without one reads the file at every call.
TEST(ContextStoreTest, ReadersGoThroughTheContextsStore) {
    TempDirectory dir;
    const std::string path = dir.Write("a.ini", "[S]\nK=1\n");
    const testing::CachedContext cached;
    std::string value;
    ReadProfileString(cached, path, "S", "K", value);
    ReadProfileString(cached, path, "S", "K", value);
    EXPECT_EQ(value, "1");
    EXPECT_EQ(cached.Cache().ReadCount(), 1u) << "an unchanged file is read once";
    ASSERT_TRUE(WriteProfileString(cached, path, "S", "K", "2"));
    ReadProfileString(Plain, path, "S", "K", value);
    EXPECT_EQ(value, "2") << "the write reached the file";
    ReadProfileString(cached, path, "S", "K", value);
    EXPECT_EQ(value, "2");
}

// A store of another kind.
class OtherStore : public TDefinitionFiles {
public:
    uint64_t ReadCount() const override { return 0; }
    void Clear() override {}
};

TEST(ContextStoreTest, AStoreThatIsNoCacheIsRefused) {
    TempDirectory dir;
    OtherStore store;
    TCCContext context;
    context.SetFiles(&store);
    std::string value;
    EXPECT_THROW(ReadProfileString(context, dir.PathOf("a.ini"), "S", "K", value), std::logic_error);
}

}  // namespace
}  // namespace quenmark
