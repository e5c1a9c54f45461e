#include "definitions/unit_table_reader.h"

#include <optional>
#include <string_view>

#include "definitions/profile_text.h"
#include "expression/string_tokenizer.h"
#include "base/exception.h"

namespace quenmark {

namespace {

constexpr std::string_view GroupPrefix = "GroupName:";
constexpr std::string_view BasePrefix = "BaseUnit:";
constexpr std::string_view TableEnd = "---";

[[noreturn]] void FailForm() { throw Exception("Error"); }

// The factor of a unit line: the value of the first token of its text when
// that token is a number literal; nothing for any other text. A literal
// reads the same in every context, and the tokenizer's errors are never
// shown, so the reader's own default context serves.
std::optional<double> ReadFactor(const std::string& text, const TCCContext& context) {
    try {
        TCCStringTokenizer tokenizer(context, text);
        const TokenPtr token = tokenizer.NextToken();
        if (!token || !token->Is(TokenKind::Literal) || !token->Value.IsNumber()) return std::nullopt;
        return token->Value.ToReal(context.Separators());
    } catch (const Exception&) {
        return std::nullopt;
    }
}

// The offset after a factor: a number, which may have a "-" in front.
std::optional<double> ReadOffset(std::string_view text, const TCCContext& context) {
    text = TrimControls(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    const std::optional<double> offset = ReadFactor(std::string(text), context);
    if (!offset) return std::nullopt;
    return negative ? -*offset : *offset;
}

// A unit line: a tab, the name up to the next tab, the factor after it and,
// optionally, a tab and the offset. Text after the factor that is no
// number is ignored, as it always was.
std::unique_ptr<TCCUnit> ReadUnitLine(const std::string& line, const TCCContext& context) {
    if (line.empty() || line.front() != '\t') return nullptr;
    const size_t nameEnd = line.find('\t', 1);
    if (nameEnd == std::string::npos) return nullptr;
    const std::string_view rest = std::string_view(line).substr(nameEnd + 1);
    const size_t factorEnd = rest.find('\t');
    const std::string factorText(TrimControls(rest.substr(0, factorEnd)));
    if (factorText.empty()) return nullptr;
    const std::optional<double> factor = ReadFactor(factorText, context);
    if (!factor) return nullptr;
    std::optional<double> offset;
    if (factorEnd != std::string_view::npos) offset = ReadOffset(rest.substr(factorEnd + 1), context);
    return std::make_unique<TCCUnit>(line.substr(1, nameEnd - 1), *factor, offset.value_or(0.0));
}

class UnitTableReader {
public:
    explicit UnitTableReader(const std::vector<std::string>& lines) : FLines(lines) {}

    std::vector<std::unique_ptr<TCCUnitGroup>> Read() {
        FIndex = FindUnitsLine() + 1;
        if (TrimControls(Line(FIndex)) != TableEnd) FailForm();
        ++FIndex;
        std::vector<std::unique_ptr<TCCUnitGroup>> groups;
        do {
            groups.push_back(ReadGroup());
        } while (FIndex < FLines.size());
        return groups;
    }

private:
    const std::string& Line(size_t index) const {
        if (index >= FLines.size()) throw Exception(ListIndexError(index));
        return FLines[index];
    }

    size_t FindUnitsLine() const {
        for (size_t i = 0; i < FLines.size(); ++i)
            if (TrimControls(FLines[i]) == "[Units]") return i;
        throw Exception(ListIndexError(FLines.size()));
    }

    // The rest of the trimmed line after prefix; "Error" when it does not
    // begin with prefix.
    std::string NameAfter(std::string_view prefix) {
        const std::string_view line = TrimControls(Line(FIndex++));
        if (line.substr(0, prefix.size()) != prefix) FailForm();
        return std::string(line.substr(prefix.size()));
    }

    // group = "GroupName:" name  "BaseUnit:" name  { unit line | other line }  [ "---" ]
    std::unique_ptr<TCCUnitGroup> ReadGroup() {
        auto group = std::make_unique<TCCUnitGroup>(NameAfter(GroupPrefix));
        group->SetBaseUnit(std::make_unique<TCCUnit>(NameAfter(BasePrefix), 1.0));
        while (FIndex < FLines.size()) {
            const std::string& line = FLines[FIndex++];
            if (line == TableEnd) break;
            if (auto unit = ReadUnitLine(line, FContext)) group->Add(std::move(unit));
        }
        return group;
    }

    const std::vector<std::string>& FLines;
    const TCCContext FContext;
    size_t FIndex = 0;
};

}  // namespace

std::string ListIndexError(size_t index) { return "List index out of bounds (" + std::to_string(index) + ")"; }

std::vector<std::unique_ptr<TCCUnitGroup>> ReadUnitTable(const std::vector<std::string>& lines) {
    return UnitTableReader(lines).Read();
}

}  // namespace quenmark
