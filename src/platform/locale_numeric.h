#pragma once

#include <langinfo.h>
#include <locale.h>

#include "base/number_separators.h"

namespace quenmark {

// The separators of the user's LC_NUMERIC locale, read without touching the
// process's global locale. "." and "," when the locale cannot be read.
// Header-only and dependent on nothing but the C library and
// base/number_separators.h, so that modules read the separators as the
// calculator does without linking the core.
inline NumberSeparators ReadLocaleSeparators() {
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
