#include "app/history_recall.h"

#include <algorithm>

namespace quenmark {

std::string THistoryRecall::Up(const std::vector<std::string>& entries, const std::string& shown) {
    // The history may have lost entries meanwhile (a lower limit).
    FStepsBack = std::min(FStepsBack, entries.size());
    if (FStepsBack == entries.size()) return shown;
    Keep(entries, shown);
    ++FStepsBack;
    return Shown(entries);
}

std::string THistoryRecall::Down(const std::vector<std::string>& entries, const std::string& shown) {
    FStepsBack = std::min(FStepsBack, entries.size());
    if (FStepsBack == 0) return shown;
    Keep(entries, shown);
    --FStepsBack;
    return Shown(entries);
}

void THistoryRecall::Reset() {
    FStepsBack = 0;
    FEdits.clear();
}

// Remembers the text shown at the current step: the draft always, an entry
// only where it differs from the entry.
void THistoryRecall::Keep(const std::vector<std::string>& entries, const std::string& shown) {
    if (FStepsBack == 0 || shown != entries[entries.size() - FStepsBack]) FEdits[FStepsBack] = shown;
    else FEdits.erase(FStepsBack);
}

std::string THistoryRecall::Shown(const std::vector<std::string>& entries) const {
    const auto edit = FEdits.find(FStepsBack);
    if (edit != FEdits.end()) return edit->second;
    return FStepsBack == 0 ? std::string() : entries[entries.size() - FStepsBack];
}

}  // namespace quenmark
