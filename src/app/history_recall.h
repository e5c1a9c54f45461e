#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace quenmark {

// Walking the input history with Up and Down as a shell does. Below the
// newest entry sits the draft: the line being typed before the first Up.
// Up from the draft keeps it and shows the newest entry; Down past the
// newest entry gives the draft back (empty when nothing was typed). A
// recalled entry that was edited keeps its edit while the walk goes on,
// until a line is entered. The walk stops at the oldest entry and at the
// draft.
class THistoryRecall {
public:
    // The text to show after Up or Down; shown is what the input holds now.
    std::string Up(const std::vector<std::string>& entries, const std::string& shown);
    std::string Down(const std::vector<std::string>& entries, const std::string& shown);

    // Back on an empty draft with every edit forgotten: after a line was
    // entered or the history loaded.
    void Reset();

    // How many steps the walk is above the draft: 0 on the draft, 1 on the
    // newest entry.
    size_t StepsBack() const { return FStepsBack; }

private:
    void Keep(const std::vector<std::string>& entries, const std::string& shown);
    std::string Shown(const std::vector<std::string>& entries) const;

    size_t FStepsBack = 0;
    // The draft (at 0) and the edited entries, by their steps back.
    std::map<size_t, std::string> FEdits;
};

}  // namespace quenmark
