#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

#include "console/console_run.h"
#include "console/script_lines.h"

namespace quenmark {

// The longest input line that is calculated. A longer one is refused as a
// failed line and never held in memory whole.
constexpr size_t MaxInputLineBytes = size_t{16} << 20;
// How far past that limit a refused line is skipped in search of its end.
// Input that runs on further without a line feed (a device that never
// ends) is no script: reading stops there as at a read error.
constexpr size_t MaxSkippedLineBytes = size_t{256} << 20;

// How the reading of a stream ended.
enum class TInputEnd {
    Finished,      // at its end: the next input may follow
    OutputClosed,  // the output can no longer be written: nothing further runs
    Unreadable,    // a read failed, or a line never ended; reported on standard error
};

// Runs every line of the stream in turn. name is how a problem with the
// stream is reported: "quenmark-console: NAME: ...". Taken as a script, the
// comment lines are passed over: not calculated, not echoed, not kept in
// the history. Lines of a file name the file and their number in their
// errors.
TInputEnd RunStreamLines(TConsoleRun& run, std::istream& input, const std::string& name,
                         TLineSource source = TLineSource::Log);

// Runs each text as an input line (each line of a text that holds line
// breaks); false when the output can no longer be written.
bool RunTextLines(TConsoleRun& run, const std::vector<std::string>& texts);

// Reports a line longer than MaxInputLineBytes as a failed line that was
// not calculated; false as above.
bool RefuseOverlongLine(TConsoleRun& run);

}  // namespace quenmark
