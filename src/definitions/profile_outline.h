#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/profile_text.h"

namespace quenmark {

// A definition file read line by line with the lines of some sections left
// on disk: the first section whose line is exactly "[" name "]" keeps its
// header line, and its lines up to the next line that starts with "["
// (both trimmed of blanks and control characters, as the line-block
// operations trim) become one placeholder line. Large sections are then
// read again from the file only when they are written out, one line at a
// time, instead of being held beside everything else.
struct TProfileOutline {
    struct Body {
        bool Found = false;
        off_t Start = 0;  // the file offset of the section's first line
        off_t End = 0;    // the file offset of the line after its last
    };
    TProfileText Text;
    std::vector<Body> Bodies;  // one per section asked for, in that order
};

// The line that stands for the body of the index-th section in an
// outline's text. No line of a file can equal it: it holds a line feed.
std::string OutlinePlaceholder(size_t index);
// The index of the section a placeholder line stands for; -1 for any other line.
int OutlinePlaceholderIndex(std::string_view line);

// Reads the outline of the open file; false on a read error, with errno
// telling why. The descriptor is read with pread and stays open.
bool ReadProfileOutline(int fd, const std::vector<std::string>& sections, TProfileOutline& outline);

// Calls visit with each line of a body, trimmed as the line-block
// operations trim; false on a read error.
bool ForEachBodyLine(int fd, const TProfileOutline::Body& body, const std::function<void(std::string_view)>& visit);

}  // namespace quenmark
