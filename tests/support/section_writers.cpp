#include "support/section_writers.h"

#include "app/history_section.h"
#include "app/saved_variables.h"
#include "app/settings.h"
#include "base/exception.h"
#include "definitions/profile.h"

namespace quenmark {

bool WriteVariablesSection(const TSettings& settings, const TVMVariableList& variables) {
    std::vector<std::string> lines;
    try {
        if (settings.SaveVariables) {
            for (size_t i = 0; i < variables.Count(); ++i)
                if (!variables[i].IsConstant) lines.push_back(EncodeVariableLine(variables[i]));
        }
    } catch (const Exception&) {
        return false;
    }
    return WriteSectionLines(settings.Context(), settings.FileName(), VariablesSection, lines);
}

bool WriteHistorySection(const TSettings& settings, const std::vector<std::string>& history) {
    std::vector<std::string> lines;
    if (settings.SaveHistory) {
        lines.reserve(history.size());
        for (const std::string& entry : history) lines.push_back(EncodeHistoryLine(entry));
    }
    return WriteSectionLines(settings.Context(), settings.FileName(), HistorySection, lines);
}

}  // namespace quenmark
