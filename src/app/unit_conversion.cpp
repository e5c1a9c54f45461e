#include "app/unit_conversion.h"

#include <exception>

#include "definitions/unit_group.h"
#include "expression/string_tokenizer.h"
#include "vm/number_text.h"

namespace quenmark {

namespace {

// The number a literal token stands for; a string literal is no number.
bool LiteralNumber(const TCCToken* token, double& number) {
    if (!token || !token->Is(TokenKind::Literal)) return false;
    if (token->Value.IsInteger()) {
        number = token->Value.AsInteger();
        return true;
    }
    if (token->Value.IsReal()) {
        number = token->Value.AsReal();
        return true;
    }
    return false;
}

}  // namespace

std::string ConvertUnitText(TCCStringTokenizer& tokenizer, const TCCUnitGroup* group, const std::string& source,
                            const std::string& fromUnit, const std::string& toUnit) {
    if (!group) return ConversionFailedText;
    try {
        tokenizer.SetText(source);
        const TokenPtr first = tokenizer.NextToken();
        // Read only so that a tokenizer error just after the number counts.
        const TokenPtr second = first ? tokenizer.NextToken() : nullptr;
        double number = 0;
        if (!LiteralNumber(first.get(), number)) return ConversionFailedText;
        return RealToGeneralText(group->Convert(number, fromUnit, toUnit), tokenizer.Context().Separators());
    } catch (const std::exception&) {
        return ConversionFailedText;
    }
}

}  // namespace quenmark
