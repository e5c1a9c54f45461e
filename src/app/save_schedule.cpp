#include "app/save_schedule.h"

#include <algorithm>

#include "app/input_history.h"
#include "app/settings.h"
#include "vm/variable_list.h"

namespace quenmark {

TKeptStateMark MarkKeptState(const TSettings& settings, const TVMVariableList& variables,
                             const TInputHistory& history) {
    return {variables.Changes(), history.EnteredCount(), settings.OutputFormat, settings.OutputMode};
}

std::chrono::milliseconds TSaveSchedule::Changed(Clock::time_point now) {
    FPending = true;
    if (!FEverWritten) return std::chrono::milliseconds::zero();
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(now - FLastWrite);
    return std::max(FInterval - since, std::chrono::milliseconds::zero());
}

void TSaveSchedule::Written(Clock::time_point now) {
    FPending = false;
    FEverWritten = true;
    FLastWrite = now;
}

}  // namespace quenmark
