#include "app/settings_save.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "app/damaged_settings.h"
#include "app/settings_file.h"
#include "definitions/language_list.h"
#include "definitions/profile_cache.h"
#include "base/context.h"
#include "platform/file_lock.h"
#include "platform/program_directory.h"
#include "platform/save_target.h"
#include "platform/user_language.h"

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

// Why a save could not take the lock.
std::string LockReason(TLockResult result, const std::string& lockFile, const TCCContext& context) {
    switch (result) {
    case TLockResult::Busy: return context.GetText("QEN411");
    case TLockResult::ForeignFile: return context.GetTextWith("QEN413", lockFile);
    case TLockResult::Failed:
    case TLockResult::Held: break;
    }
    return SystemReason(errno);
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
    if (const TLockResult locked = LockSettingsFile(context, fileName, TFileLock::Mode::Exclusive, true, lock);
        locked != TLockResult::Held)
        return Failed(outcome, LockReason(locked, LockFileName(fileName), context));
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

TSettingsLockWait& SettingsLockWait() {
    static TSettingsLockWait wait;
    return wait;
}

TLockResult LockSettingsFile(const TCCContext& context, const std::string& fileName, TFileLock::Mode mode, bool create,
                             TFileLock& lock) {
    const TSettingsLockWait& settingsWait = SettingsLockWait();
    TLockWait wait;
    wait.Limit = settingsWait.Limit;
    wait.NoticeAfter = settingsWait.NoticeAfter;
    wait.OnLongWait = [&context, &fileName]() {
        NoticeAboutSettingsFile(context,
                                [&fileName](const TCCContext& in) { return in.GetTextWith("QEN410", fileName); });
    };
    return lock.Acquire(LockFileName(fileName), mode, create, wait);
}

void NoticeAboutSettingsFile(const TCCContext& context, const std::function<std::string(const TCCContext&)>& text) {
    const auto& notice = SettingsLockWait().Notice;
    if (!notice) return;
    const auto* inForce = dynamic_cast<const TCCLanguageList*>(context.Messages());
    if (!inForce || inForce->Current()) {
        notice(text(context));
        return;
    }
    TCCLanguageList languages;
    languages.Gather(context, ProgramDirectory());
    languages.Select(&languages.Choose("", UserDefaultLangID()));
    TCCContext inLanguage;
    inLanguage.SetMessages(&languages);
    notice(text(inLanguage));
}

std::string SaveFailureText(const TCCContext& context, const TSaveOutcome& outcome) {
    return context.GetTextWith("QEN402", outcome.FileName + ": " + outcome.Reason);
}

std::string MovedAsideText(const TCCContext& context, const std::string& movedTo) {
    return context.GetTextWith("QEN401", movedTo);
}

}  // namespace quenmark
