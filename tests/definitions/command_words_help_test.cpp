// The "@" command words against every file that names them: each word is
// explained by its help line in every message file and in every help file,
// listed in the man page and in the fuzzing dictionary, and every "@" word
// that a help line names is a command.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "base/context.h"
#include "definitions/profile.h"
#include "expression/command_words.h"

namespace quenmark {
namespace {

const TCCContext Plain;
const std::string SourceDir = QUENMARK_SOURCE_DIR "/";
const char* const MessageFiles[] = {"Quenmark.msg", "German.msg", "Japanese.msg"};
const char* const HelpFiles[] = {"Quenmark.hlp", "German.hlp", "Japanese.hlp"};

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "@" and the word, not followed by another letter of a longer word.
bool NamesWord(const std::string& text, const std::string& word) {
    return std::regex_search(text, std::regex("@" + word + "(?![A-Za-z0-9_])"));
}

std::string MessageText(const char* file, const char* code) {
    std::string text;
    ReadProfileString(Plain, SourceDir + "resources/" + file, "Messages", code, text);
    return text;
}

std::set<std::string> TableWords() {
    std::set<std::string> words;
    for (const TCommandWord& command : CommandWords()) words.insert(command.Word);
    return words;
}

// The short line of the "@" help may name one word of a command for all
// of its forms (@VAR for @VARIABLES); the help files name every form.
bool NamesCommand(const std::string& text, const TCommandWord& command) {
    for (const TCommandWord& other : CommandWords())
        if (other.Action == command.Action && NamesWord(text, other.Word)) return true;
    return false;
}

TEST(CommandWordHelpTest, EveryCommandIsExplainedByItsHelpLineInEveryLanguage) {
    for (const char* file : MessageFiles)
        for (const TCommandWord& command : CommandWords())
            EXPECT_TRUE(NamesCommand(MessageText(file, command.HelpCode), command))
                << file << " " << command.HelpCode << " names no form of @" << command.Word;
}

TEST(CommandWordHelpTest, EveryWordNamedByAHelpLineIsACommand) {
    const std::regex named("@([A-Z]+)");
    const std::set<std::string> words = TableWords();
    for (const char* file : MessageFiles) {
        for (const char* code : CommandHelpCodes()) {
            const std::string text = MessageText(file, code);
            for (std::sregex_iterator it(text.begin(), text.end(), named), end; it != end; ++it)
                EXPECT_TRUE(words.count((*it)[1])) << file << " " << code << " names @" << (*it)[1];
        }
    }
}

TEST(CommandWordHelpTest, EveryWordHasARowInEveryHelpFile) {
    for (const char* file : HelpFiles) {
        const std::string text = FileText(SourceDir + "resources/" + file);
        ASSERT_FALSE(text.empty()) << file;
        for (const TCommandWord& command : CommandWords()) {
            const std::regex row("<tr><td>[^<]*@" + std::string(command.Word) + "(?![A-Za-z0-9_])");
            EXPECT_TRUE(std::regex_search(text, row)) << file << " has no row for @" << command.Word;
        }
    }
}

TEST(CommandWordHelpTest, EveryWordIsInTheManPage) {
    const std::string text = FileText(SourceDir + "packaging/man/quenmark.1.in");
    ASSERT_FALSE(text.empty());
    for (const TCommandWord& command : CommandWords())
        EXPECT_TRUE(NamesWord(text, command.Word)) << "the man page does not name @" << command.Word;
}

TEST(CommandWordHelpTest, EveryWordIsInTheFuzzingDictionary) {
    const std::string text = FileText(SourceDir + "fuzz/process_line.dict");
    ASSERT_FALSE(text.empty());
    for (const TCommandWord& command : CommandWords()) {
        const std::string entry = "\n\"@" + std::string(command.Word) + "\"\n";
        EXPECT_NE(text.find(entry), std::string::npos) << "the dictionary has no entry \"@" << command.Word << "\"";
    }
}

}  // namespace
}  // namespace quenmark
