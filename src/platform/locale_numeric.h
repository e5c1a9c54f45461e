#pragma once

#include "base/number_separators.h"

namespace quenmark {

// The separators of the user's LC_NUMERIC locale, read without touching the
// process's global locale. "." and "," when the locale cannot be read.
NumberSeparators ReadLocaleSeparators();

}  // namespace quenmark
