#include "definitions/profile_lines.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/text_lines.h"
#include "definitions/profile.h"
#include "definitions/profile_outline.h"
#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

using testing::TempDirectory;
using Lines = std::vector<std::string>;

class OpenFile {
public:
    explicit OpenFile(const std::string& path) : FFd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile() { close(FFd); }
    int Fd() const { return FFd; }

private:
    int FFd;
};

Lines ReadAllLines(const std::string& path) {
    OpenFile file(path);
    TProfileLineReader reader(file.Fd());
    Lines lines;
    for (std::string line; reader.Next(line);) lines.push_back(line);
    EXPECT_FALSE(reader.Failed());
    return lines;
}

TEST(ProfileLineReaderTest, SplitsAsTheWholeTextSplits) {
    const std::string block(65535, 'x');  // a line end at the edge of the reader's buffer
    const struct {
        const char* Behaviour;
        std::string Text;
    } rows[] = {
        {"empty file", ""},
        {"CR LF, LF and CR", "a\r\nb\nc\rd"},
        {"a line end at the end starts no line", "a\r\n"},
        {"empty lines", "\r\n\n\r\r\n"},
        {"byte-order mark dropped", "\xEF\xBB\xBF[S]\r\nk=v\r\n"},
        {"a mark alone", "\xEF\xBB\xBF"},
        {"two marks dropped", "\xEF\xBB\xBF\xEF\xBB\xBF[S]\r\n"},
        {"CR LF split between two reads", block + "\r\nnext"},
        {"CR at the end of a read, then another line", block + "\rnext"},
        {"a line longer than the buffer", std::string(200000, 'y') + "\nz"},
    };
    TempDirectory dir;
    for (const auto& row : rows) {
        const std::string path = dir.Write("f.cfg", row.Text);
        EXPECT_EQ(ReadAllLines(path), SplitLines(WithoutByteOrderMark(row.Text))) << row.Behaviour;
    }
}

TEST(ProfileOutlineTest, KeepsTheFileWithoutTheSectionsLeftOnDisk) {
    const std::string text =
        "[Others]\r\n"
        "k=v\r\n"
        " [Variables] \r\n"
        "  ;v1\r\n"
        ";v2\r\n"
        "[History]\r\n"
        ";h1\r\n"
        "[Variables]\r\n"  // a second section of the name is an ordinary section
        ";later\r\n";
    TempDirectory dir;
    const std::string path = dir.Write("s.cfg", text);
    OpenFile file(path);
    TProfileOutline outline;
    ASSERT_TRUE(ReadProfileOutline(file.Fd(), {"Variables", "History", "Missing"}, outline));
    EXPECT_EQ(outline.Text.Lines(), (Lines{"[Others]", "k=v", " [Variables] ", OutlinePlaceholder(0), "[History]",
                                           OutlinePlaceholder(1), "[Variables]", ";later"}));
    ASSERT_EQ(outline.Bodies.size(), 3u);
    EXPECT_FALSE(outline.Bodies[2].Found);
    const TProfileText whole(text);
    for (const auto& [index, name] : {std::pair<size_t, const char*>{0, "Variables"}, {1, "History"}}) {
        Lines body;
        ASSERT_TRUE(ForEachBodyLine(file.Fd(), outline.Bodies[index],
                                    [&body](std::string_view line) { body.emplace_back(line); }));
        Lines expected;
        AppendSectionLines(whole, name, expected);
        EXPECT_EQ(body, expected) << name;
    }
    std::string value;
    ReadProfileString(outline.Text, "Others", "k", value);
    EXPECT_EQ(value, "v") << "the keys are read from the outline as from the whole file";
}

TEST(ProfileOutlineTest, PlaceholdersAreKnownOnlyAsSuch) {
    EXPECT_EQ(OutlinePlaceholderIndex(OutlinePlaceholder(0)), 0);
    EXPECT_EQ(OutlinePlaceholderIndex(OutlinePlaceholder(12)), 12);
    EXPECT_EQ(OutlinePlaceholderIndex("0"), -1);
    EXPECT_EQ(OutlinePlaceholderIndex("\n"), -1);
    EXPECT_EQ(OutlinePlaceholderIndex("\nx"), -1);
}

}  // namespace
}  // namespace quenmark
