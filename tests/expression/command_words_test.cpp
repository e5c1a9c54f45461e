#include "expression/command_words.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace quenmark {
namespace {

TEST(CommandWordsTest, WordsAreCapitalUniqueAndAlphabetical) {
    const auto words = CommandWords();
    ASSERT_FALSE(words.empty());
    for (size_t i = 0; i < words.size(); ++i) {
        for (const char* c = words[i].Word; *c; ++c) EXPECT_TRUE(*c >= 'A' && *c <= 'Z') << words[i].Word;
        if (i > 0) {
            EXPECT_LT(std::strcmp(words[i - 1].Word, words[i].Word), 0) << words[i].Word;
        }
    }
}

TEST(CommandWordsTest, FindsEachWordGivenInCapitalsOnly) {
    for (const TCommandWord& command : CommandWords()) EXPECT_EQ(FindCommandWord(command.Word), &command);
    EXPECT_EQ(FindCommandWord("hex"), nullptr);
    EXPECT_EQ(FindCommandWord("HE"), nullptr);
    EXPECT_EQ(FindCommandWord(""), nullptr);
}

TEST(CommandWordsTest, EachOutputModeWordSelectsItsMode) {
    for (OutputMode mode : OutputModes) {
        const TCommandWord* command = FindCommandWord(OutputModeWord(mode));
        ASSERT_NE(command, nullptr) << OutputModeWord(mode);
        EXPECT_EQ(command->Action, TCommandAction::SetOutputMode);
        EXPECT_EQ(command->Mode, mode);
    }
}

TEST(CommandWordsTest, HelpListsEachLineOnceInCodeOrder) {
    std::string codes;
    for (const char* code : CommandHelpCodes()) codes += std::string(code) + " ";
    EXPECT_EQ(codes, "INT101 INT102 INT103 INT104 INT105 INT106 ");
}

}  // namespace
}  // namespace quenmark
