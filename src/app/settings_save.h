#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/context.h"
#include "definitions/profile_text.h"
#include "platform/file_lock.h"

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

// One line at a time, without its line end.
using TLineVisitor = std::function<void(std::string_view)>;
// Calls its argument with each of the file's lines of a section, trimmed;
// may be called more than once, each time from the first line.
using TSectionLines = std::function<void(const TLineVisitor&)>;
// Puts out a section's new lines, given the file's lines of it.
using TSectionMerge = std::function<void(const TSectionLines& fileLines, const TLineVisitor& out)>;

// Turns the file's current contents into the contents to write. Edit gets
// the whole file, unless Sections are given: then it gets the file with
// each of those sections' lines left out (see TProfileOutline), each
// section is written by its merge from the file's lines of it, read again
// from the file one at a time, and every other line is trimmed, exactly
// as if Edit and then ReplaceSectionLines with each merge's lines, in
// order, had been applied to the whole file. A missing section is added at
// the end.
struct TSettingsMerge {
    struct Section {
        std::string Name;
        TSectionMerge Merge;
    };
    TSettingsMerge() = default;
    template <typename TEdit>
        requires std::is_invocable_v<TEdit&, TProfileText&>
    TSettingsMerge(TEdit edit) : Edit(std::move(edit)) {}

    std::function<void(TProfileText&)> Edit;
    std::vector<Section> Sections;
};

// The bytes a save writes over a file that holds current.
std::string RenderSettingsFile(const TProfileText& current, const TSettingsMerge& merge);

// Locks, reads, merges and replaces the settings file. With merge
// sections the file is read and written line by line, never held whole.
// Running out of memory is reported as a failed save (QEN420), leaving the
// file as it was. A file that fails
// validation is moved aside first. carryFrom names a settings file whose
// contents stand in for a missing fileName (the copy beside a program
// directory that can no longer be written); empty for none. The file is
// read and written through the context's store, and a reason that is a
// message is in the context's messages.
TSaveOutcome UpdateSettingsFile(const TCCContext& context, const std::string& fileName, const TSettingsMerge& merge,
                                const std::string& carryFrom = {});

// How saves and the start-up read wait for the settings file's lock: at
// most Limit, telling the user once through Notice when the lock is still
// taken after NoticeAfter. The front end sets Notice (the console writes the
// line to standard error); without it nothing is shown.
struct TSettingsLockWait {
    std::chrono::milliseconds Limit{5000};
    std::chrono::milliseconds NoticeAfter{500};
    std::function<void(const std::string& text)> Notice;
};

// The one wait of the run, for the front end to set up at its start.
TSettingsLockWait& SettingsLockWait();

// Takes the lock that guards the settings file fileName (see LockFileName)
// as SettingsLockWait says; a notice names fileName.
TLockResult LockSettingsFile(const TCCContext& context, const std::string& fileName, TFileLock::Mode mode, bool create,
                             TFileLock& lock);

// Shows a line through SettingsLockWait's Notice; text makes it from a
// context's messages. Before a language is in force (the start-up read) the
// messages are those of the language of the user's locale.
void NoticeAboutSettingsFile(const TCCContext& context, const std::function<std::string(const TCCContext&)>& text);

// The line that reports a failed save: the file and the reason.
std::string SaveFailureText(const TCCContext& context, const TSaveOutcome& outcome);

// The line that tells the user where a damaged settings file was moved.
std::string MovedAsideText(const TCCContext& context, const std::string& movedTo);

}  // namespace quenmark
