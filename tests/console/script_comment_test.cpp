// Which script lines are comments.
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

}  // namespace
}  // namespace quenmark
