#pragma once

#include <QString>

#include <functional>

namespace quenmark {

class TfrmCalUnit;

// The text of a message code in the language in force.
using TCaptionLookup = std::function<QString(const char* code)>;

// The unit window's title and the names by which assistive technologies
// present its controls, in the language in force. Its drop-downs and its
// hide button show no words of their own to name them by.
void NameUnitWindow(TfrmCalUnit& window, const TCaptionLookup& caption);

}  // namespace quenmark
