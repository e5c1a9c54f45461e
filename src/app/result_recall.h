#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "expression/output_mode.h"
#include "vm/variant.h"

namespace quenmark {

class TCCInterpreter;
class TLineSession;

// One result of the session.
struct TRecalledResult {
    // The result line as the log shows it ("HEX : 0E", "1,234.5").
    std::string Shown;
    // The result as a literal that reads back as the same value in a line:
    // the radix form in a radix mode for an Integer ("0x0E"), otherwise the
    // plain decimal form with a "." whatever the locale and the format
    // mask, a String in quotes with its quotes doubled.
    std::string Literal;
};

// The literal of a result value shown in the given mode.
std::string ResultLiteral(const Variant& value, OutputMode mode);

// A line being edited: its text and the cursor.
struct TEditedLine {
    std::string Text;
    size_t Cursor = 0;
};

// The expression results of a session, most recent first, and the key that
// brings them back into the line: the first press inserts the last result
// at the cursor, each further press right after replaces the inserted text
// with the result before; any other key ends the sequence. Only successful
// results count: a line that failed adds none.
class TResultRecall {
public:
    // The oldest results are forgotten beyond this many.
    static constexpr size_t Capacity = 100;

    // Records the interpreter's result after each expression line of the
    // session; an earlier handler of the session's results still runs.
    void Attach(TLineSession& session, const TCCInterpreter& interpreter);
    // Records the interpreter's last result if its line produced one.
    void RecordLastResult(const TCCInterpreter& interpreter);
    void Record(TRecalledResult result);

    const std::deque<TRecalledResult>& Results() const { return FResults; }
    // The most recent result; null when there is none.
    const TRecalledResult* Last() const;

    // One press of the recall key on the line. Returns false and leaves the
    // line alone when there is nothing (more) to bring back.
    bool Recall(TEditedLine& line);
    // Another key was pressed: the next press starts with the last result.
    void EndSequence() { FInSequence = false; }

private:
    bool StillInserted(const TEditedLine& line) const;

    std::deque<TRecalledResult> FResults;
    bool FInSequence = false;
    size_t FStep = 0;
    size_t FInsertedAt = 0;
    size_t FInsertedLength = 0;
};

}  // namespace quenmark
