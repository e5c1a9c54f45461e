#include "app/result_recall.h"

#include "app/line_session.h"
#include "base/exception.h"
#include "expression/interpreter.h"
#include "expression/result_format.h"
#include "expression/string_literal.h"

namespace quenmark {

namespace {

// The tokenizer reads "." as the decimal point and knows no grouping.
const NumberSeparators LiteralSeparators{".", ","};

// An Integer's radix form reads back as the same 32-bit pattern, except
// an octal one of eleven digits, which is longer than a literal may be; a
// Real's would lose its fraction. Those stay decimal.
bool HasRadixLiteral(const Variant& value, OutputMode mode) {
    if (!value.IsInteger() || mode == OutputMode::DEC) return false;
    return mode != OutputMode::OCT || (value.AsInteger() >= 0 && value.AsInteger() < (int32_t{1} << 30));
}

std::string RadixLiteral(const Variant& value, OutputMode mode) {
    const TCCContext context;
    switch (mode) {
    case OutputMode::HEX: return FormatHex(value, context);
    case OutputMode::OCT: return FormatOct(value, context);
    case OutputMode::BIN: return FormatBin(value, context);
    case OutputMode::DEC: break;
    }
    return value.ToText(LiteralSeparators);
}

}  // namespace

std::string ResultLiteral(const Variant& value, OutputMode mode) {
    if (value.IsString()) return StringLiteral(value.AsString());
    if (HasRadixLiteral(value, mode)) {
        try {
            return RadixLiteral(value, mode);
        } catch (const Exception&) {
            // Every Integer has a radix form; the decimal one serves otherwise.
        }
    }
    return value.ToText(LiteralSeparators);
}

void TResultRecall::Attach(TLineSession& session, const TCCInterpreter& interpreter) {
    session.OnExpressionResult = [this, &interpreter, earlier = std::move(session.OnExpressionResult)](
                                     const Variant& result) {
        if (earlier) earlier(result);
        RecordLastResult(interpreter);
    };
}

void TResultRecall::RecordLastResult(const TCCInterpreter& interpreter) {
    if (!interpreter.LastWasExpression() || interpreter.LastResultLine().empty()) return;
    Record({interpreter.LastResultLine(), ResultLiteral(interpreter.LastResult(), interpreter.GetOutputMode())});
}

void TResultRecall::Record(TRecalledResult result) {
    FResults.push_front(std::move(result));
    if (FResults.size() > Capacity) FResults.pop_back();
    FInSequence = false;
}

const TRecalledResult* TResultRecall::Last() const { return FResults.empty() ? nullptr : &FResults.front(); }

// The text inserted by the previous press is still where it was put and
// the cursor right after it: only then does a press replace it.
bool TResultRecall::StillInserted(const TEditedLine& line) const {
    const std::string& inserted = FResults[FStep].Literal;
    return FInsertedAt + FInsertedLength == line.Cursor &&
           line.Text.compare(FInsertedAt, FInsertedLength, inserted) == 0;
}

bool TResultRecall::Recall(TEditedLine& line) {
    if (FResults.empty()) return false;
    line.Cursor = std::min(line.Cursor, line.Text.size());
    if (FInSequence && FStep < FResults.size() && StillInserted(line)) {
        if (FStep + 1 >= FResults.size()) return false;  // the oldest stays
        line.Text.erase(FInsertedAt, FInsertedLength);
        ++FStep;
    } else {
        FStep = 0;
        FInsertedAt = line.Cursor;
    }
    const std::string& literal = FResults[FStep].Literal;
    line.Text.insert(FInsertedAt, literal);
    FInsertedLength = literal.size();
    line.Cursor = FInsertedAt + FInsertedLength;
    FInSequence = true;
    return true;
}

}  // namespace quenmark
