#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

class TSettings;

// The input history in the "History" section of the settings file, oldest
// entry first, one line each: ";" and the hex digits of the entry.

constexpr const char* HistorySection = "History";

std::string EncodeHistoryLine(std::string_view entry);

// The entry of a saved line. The first character is dropped whatever it
// is; throws an Exception when the rest is not a whole encoded string.
std::string DecodeHistoryLine(std::string_view line);

// Appends every saved entry of a valid settings file to history, each
// damaged line skipped on its own. No length limit is applied here.
void ReadHistorySection(const TSettings& settings, std::vector<std::string>& history);

}  // namespace quenmark
