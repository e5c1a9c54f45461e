#include "app/unit_expression.h"

#include "base/exception.h"
#include "definitions/language_list.h"
#include "definitions/unit_lookup.h"
#include "expression/interpreter.h"

namespace quenmark {

void RegisterUnitConversion(TCCInterpreter& interpreter, TCCLanguageList& languages) {
    const TCCContext& context = interpreter.Context();
    const auto convert = [&context, &languages](std::span<const Variant> arguments) {
        if (arguments.size() != 3 || !arguments[1].IsString() || !arguments[2].IsString())
            throw EVMError(context.GetText("CVM124"));
        const double value = arguments[0].ToReal(context.Separators());
        TCCLanguage* language = languages.Current();
        if (!language) throw EVMError(context.GetTextWith("CVM123", arguments[1].AsString()));
        TCCUnitGroupList* units = nullptr;
        try {
            units = &language->GetUnits();
        } catch (const Exception&) {
            throw EVMError(context.GetTextWith("CVM123", arguments[1].AsString()));
        }
        return Variant(ConvertNamedUnits(*units, value, arguments[1].AsString(), arguments[2].AsString(), context));
    };
    interpreter.BuiltinFunctions().Register(UnitConversionName, 3, context.GetText("INT188"), convert);
}

}  // namespace quenmark
