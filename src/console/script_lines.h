#pragma once

#include <string_view>

namespace quenmark {

// Whether a script line is a comment: its first character other than a
// blank or a tab is '#'. That covers a first line "#!/usr/bin/env ...".
bool IsScriptComment(std::string_view line);

}  // namespace quenmark
