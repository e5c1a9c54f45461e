#pragma once

#include <functional>
#include <string>

#include "base/context.h"
#include "definitions/profile_text.h"

namespace quenmark {

// The one way the settings file is written: under an exclusive lock beside
// it, the file is read afresh, merged with what this copy changed, and
// replaced in one step, so that copies running side by side never drop each
// other's changes and a failure is reported rather than lost.

// What a save came to.
struct TSaveOutcome {
    bool Saved = false;
    std::string FileName;
    // Why the file was not written, in the user's language; empty when saved.
    std::string Reason;
    // Where a file that failed validation was moved before the save.
    std::string MovedAsideTo;
};

// Turns the file's current contents into the contents to write.
using TSettingsMerge = std::function<void(TProfileText&)>;

// The bytes a save writes over a file that holds current.
std::string RenderSettingsFile(const TProfileText& current, const TSettingsMerge& merge);

// Locks, reads, merges and replaces the settings file. A file that fails
// validation is moved aside first. carryFrom names a settings file whose
// contents stand in for a missing fileName (the copy beside a program
// directory that can no longer be written); empty for none. The file is
// read and written through the context's store, and a reason that is a
// message is in the context's messages.
TSaveOutcome UpdateSettingsFile(const TCCContext& context, const std::string& fileName, const TSettingsMerge& merge,
                                const std::string& carryFrom = {});

// The line that reports a failed save: the file and the reason.
std::string SaveFailureText(const TCCContext& context, const TSaveOutcome& outcome);

// The line that tells the user where a damaged settings file was moved.
std::string MovedAsideText(const TCCContext& context, const std::string& movedTo);

}  // namespace quenmark
