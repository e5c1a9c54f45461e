#include "app/history_section.h"

#include "app/hex_codec.h"
#include "app/settings.h"
#include "definitions/profile.h"
#include "base/exception.h"

namespace quenmark {

std::string EncodeHistoryLine(std::string_view entry) {
    std::string line;
    line.reserve(entry.size() * 2 + 12);  // the digits, and room for a line end
    line += ';';
    EncodeString(entry, line);
    return line;
}

std::string DecodeHistoryLine(std::string_view line) {
    std::string_view digits = line.empty() ? line : line.substr(1);
    return DecodeString(digits);
}

void ReadHistorySection(const TSettings& settings, std::vector<std::string>& history) {
    if (!settings.IsSettingsFileValid()) return;
    ForEachSectionLine(settings.Context(), settings.SourceFileName(), HistorySection,
                       [&history](std::string_view line) {
                           try {
                               history.push_back(DecodeHistoryLine(line));
                           } catch (const Exception&) {
                               // a damaged line is skipped on its own
                           }
                       });
}

}  // namespace quenmark
