#include "platform/locale_numeric.h"

#include <langinfo.h>
#include <locale.h>

namespace quenmark {

NumberSeparators ReadLocaleSeparators() {
    NumberSeparators separators;
    // An empty name asks for the locale the environment selects.
    locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return separators;
    const char* decimal = nl_langinfo_l(RADIXCHAR, locale);
    const char* thousands = nl_langinfo_l(THOUSEP, locale);
    if (decimal && *decimal) separators.Decimal = decimal;
    if (thousands && *thousands) separators.Thousands = thousands;
    // Locales without grouping (such as C) report no thousands separator;
    // keep one that differs from the decimal separator.
    if (thousands && !*thousands) separators.Thousands = separators.Decimal == "," ? "." : ",";
    freelocale(locale);
    return separators;
}

}  // namespace quenmark
