// Which script lines are comments, and which print nothing in a script.
#include <gtest/gtest.h>

#include "console/script_lines.h"

namespace quenmark {
namespace {

TEST(ScriptComment, TheFirstCharacterOtherThanABlankDecides) {
    const struct {
        const char* line;
        bool comment;
    } rows[] = {
        {"#!/usr/bin/env quenmark-console -f", true},
        {"# a note", true},
        {"#", true},
        {"   # indented", true},
        {"\t# after a tab", true},
        {"1 + 1 # trailing", false},
        {"", false},
        {"   ", false},
        {"'#'", false},
        {"x#", false},
    };
    for (const auto& row : rows) EXPECT_EQ(IsScriptComment(row.line), row.comment) << '"' << row.line << '"';
}

TEST(ScriptComment, OnlyCommandsThatConfirmAChangePrintNothing) {
    const struct {
        const char* line;
        bool confirming;
    } rows[] = {
        {"@HEX", true},
        {"  @dec", true},
        {"@ bin", true},
        {"@FORMAT \"0.00\"", true},
        {"@DELVAR x", true},
        {"@DELVARALL", true},
        {"@PROTECT x", true},
        {"@DESERT x", true},
        {"@DEBUG", true},
        {"@VAR", false},
        {"@FNC", false},
        {"@STAT", false},
        {"@MOD", false},
        {"@", false},
        {"@NOSUCH", false},
        {"HEX", false},
        {"x = 1 @HEX", false},
    };
    for (const auto& row : rows) EXPECT_EQ(IsConfirmingCommand(row.line), row.confirming) << '"' << row.line << '"';
}

}  // namespace
}  // namespace quenmark
