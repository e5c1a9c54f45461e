#include "app/settings_save.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "app/damaged_settings.h"
#include "app/settings_file.h"
#include "definitions/profile_cache.h"
#include "base/context.h"
#include "platform/file_lock.h"
#include "platform/program_directory.h"
#include "platform/save_target.h"

namespace quenmark {

namespace {

std::string SystemReason(int error) { return std::strerror(error); }

std::string TargetReason(const TSaveTargetCheck& check, const TCCContext& context) {
    switch (check.Problem) {
    case TSaveTargetProblem::ForeignSymbolicLink: return context.GetText("QEN404");
    case TSaveTargetProblem::ReadOnly: return context.GetText("QEN403");
    case TSaveTargetProblem::NotRegularFile:
        return check.Error == EISDIR ? SystemReason(EISDIR) : context.GetText("QEN405");
    case TSaveTargetProblem::Inaccessible: return SystemReason(check.Error);
    case TSaveTargetProblem::None: break;
    }
    return {};
}

TSaveOutcome Failed(TSaveOutcome outcome, std::string reason) {
    outcome.Saved = false;
    outcome.Reason = std::move(reason);
    return outcome;
}

// Creates the missing directories of a path ending in "/", each readable by
// its owner only, as for a user's configuration directory.
bool CreateMissingDirectories(const std::string& directory) {
    for (size_t slash = directory.find('/', 1); slash != std::string::npos; slash = directory.find('/', slash + 1)) {
        const std::string part = directory.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

// Moves a file that is there but fails validation out of the way; false
// when it is there and cannot be moved.
bool SetDamagedFileAside(const TCCContext& context, const std::string& fileName, TSaveOutcome& outcome) {
    const TProfileCache::Snapshot current = LoadDefinitionFile(context, fileName);
    if (current.State != TProfileCache::FileState::Present || IsSettingsTextValid(*current.Text)) return true;
    outcome.MovedAsideTo = MoveDamagedFileAside(fileName, std::time(nullptr));
    return !outcome.MovedAsideTo.empty();
}

// The contents that stand in for the file: its own, or those of the file
// it is carried over from while it does not exist yet.
TSettingsMerge WithCarriedContents(const TCCContext& context, const std::string& fileName,
                                   const std::string& carryFrom, const TSettingsMerge& merge) {
    if (carryFrom.empty() || carryFrom == fileName) return merge;
    if (LoadDefinitionFile(context, fileName).State != TProfileCache::FileState::Missing) return merge;
    const TProfileCache::Snapshot old = LoadDefinitionFile(context, carryFrom);
    if (old.State != TProfileCache::FileState::Present || !IsSettingsTextValid(*old.Text)) return merge;
    return [text = old.Text, &merge](TProfileText& file) {
        file = *text;
        merge(file);
    };
}

}  // namespace

std::string RenderSettingsFile(const TProfileText& current, const TSettingsMerge& merge) {
    TProfileText merged = current;
    merge(merged);
    return merged.Contents();
}

TSaveOutcome UpdateSettingsFile(const TCCContext& context, const std::string& fileName, const TSettingsMerge& merge,
                                const std::string& carryFrom) {
    TSaveOutcome outcome;
    outcome.FileName = fileName;
    if (!CreateMissingDirectories(DirectoryOfPath(fileName))) return Failed(outcome, SystemReason(errno));
    if (const TSaveTargetCheck check = CheckSaveTarget(fileName); check.Problem != TSaveTargetProblem::None)
        return Failed(outcome, TargetReason(check, context));
    TFileLock lock;
    if (!lock.Acquire(LockFileName(fileName), TFileLock::Mode::Exclusive, true))
        return Failed(outcome, SystemReason(errno));
    if (!SetDamagedFileAside(context, fileName, outcome)) return Failed(outcome, SystemReason(errno));
    const TSettingsMerge edit = WithCarriedContents(context, fileName, carryFrom, merge);
    const bool written = UpdateDefinitionFile(context, fileName, true, [&edit](TProfileText& file) {
        edit(file);
        return true;
    });
    if (!written) return Failed(outcome, SystemReason(errno));
    outcome.Saved = true;
    return outcome;
}

std::string SaveFailureText(const TCCContext& context, const TSaveOutcome& outcome) {
    return context.GetTextWith("QEN402", outcome.FileName + ": " + outcome.Reason);
}

std::string MovedAsideText(const TCCContext& context, const std::string& movedTo) {
    return context.GetTextWith("QEN401", movedTo);
}

}  // namespace quenmark
