#include "app/settings_save.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <vector>

#include "app/damaged_settings.h"
#include "app/settings_file.h"
#include "definitions/language_list.h"
#include "app/streamed_merge.h"
#include "definitions/profile.h"
#include "definitions/profile_cache.h"
#include "base/context.h"
#include "platform/file_lock.h"
#include "platform/installed_layout.h"
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

// A save given up for want of memory. Builds only short texts, which the
// memory freed by the abandoned save leaves room for.
TSaveOutcome OutOfMemory(const TCCContext& context, const std::string& fileName) {
    TSaveOutcome outcome;
    outcome.FileName = fileName;
    outcome.Reason = context.GetText("QEN420");
    return outcome;
}

// Moves a file that is there but fails validation out of the way; false
// when it is there and cannot be moved.
bool SetDamagedFileAside(const std::string& fileName, TSaveOutcome& outcome) {
    if (!IsDamagedSettingsFile(fileName)) return true;
    outcome.MovedAsideTo = MoveDamagedFileAside(fileName, std::time(nullptr));
    return !outcome.MovedAsideTo.empty();
}

// The file whose contents stand in for fileName: its own, or those of the
// file it is carried over from while it does not exist yet.
std::string SourceOf(const TCCContext& context, const std::string& fileName, const std::string& carryFrom) {
    if (carryFrom.empty() || carryFrom == fileName) return fileName;
    if (access(fileName.c_str(), F_OK) == 0 || errno != ENOENT) return fileName;
    const TProfileCache::Snapshot old = LoadDefinitionFile(context, carryFrom);
    if (old.State != TProfileCache::FileState::Present || !IsSettingsTextValid(*old.Text)) return fileName;
    return carryFrom;
}

// The merge applied to the whole file, read through the context's store.
bool WriteWholeMerged(const TCCContext& context, const std::string& fileName, const std::string& source,
                      const TSettingsMerge& merge) {
    std::shared_ptr<const TProfileText> carried;
    if (source != fileName) carried = LoadDefinitionFile(context, source).Text;
    return UpdateDefinitionFile(context, fileName, true, [&](TProfileText& file) {
        if (carried) file = *carried;
        if (merge.Edit) merge.Edit(file);
        return true;
    });
}

// Writes the merge of the file's contents over it: line by line when the
// merge has sections, whole otherwise. errno tells why it failed.
bool WriteMerged(const TCCContext& context, const std::string& fileName, const std::string& carryFrom,
                 const TSettingsMerge& merge) {
    const std::string source = SourceOf(context, fileName, carryFrom);
    if (merge.Sections.empty()) return WriteWholeMerged(context, fileName, source, merge);
    const bool written = WriteStreamedMerge(source, fileName, merge);
    // The store's copy no longer matches the file; the next read parses it afresh.
    ForgetDefinitionFile(context, fileName);
    return written;
}

}  // namespace

std::string RenderSettingsFile(const TProfileText& current, const TSettingsMerge& merge) {
    TProfileText merged = current;
    if (merge.Edit) merge.Edit(merged);
    for (const TSettingsMerge::Section& section : merge.Sections) {
        std::vector<std::string> lines;
        const TSectionLines fileLines = [&merged, &section](const TLineVisitor& visit) {
            ForEachSectionLine(merged, section.Name, visit);
        };
        section.Merge(fileLines, [&lines](std::string_view line) { lines.emplace_back(line); });
        ReplaceSectionLines(merged, section.Name, lines);
    }
    return merged.Contents();
}

TSaveOutcome UpdateSettingsFile(const TCCContext& context, const std::string& fileName, const TSettingsMerge& merge,
                                const std::string& carryFrom) try {
    TSaveOutcome outcome;
    outcome.FileName = fileName;
    if (!CreatePrivateDirectories(DirectoryOfPath(fileName))) return Failed(outcome, SystemReason(errno));
    if (const TSaveTargetCheck check = CheckSaveTarget(fileName); check.Problem != TSaveTargetProblem::None)
        return Failed(outcome, TargetReason(check, context));
    TFileLock lock;
    if (const TLockResult locked = LockSettingsFile(context, fileName, TFileLock::Mode::Exclusive, true, lock);
        locked != TLockResult::Held)
        return Failed(outcome, LockReason(locked, LockFileName(fileName), context));
    if (!SetDamagedFileAside(fileName, outcome)) return Failed(outcome, SystemReason(errno));
    if (!WriteMerged(context, fileName, carryFrom, merge)) return Failed(outcome, SystemReason(errno));
    outcome.Saved = true;
    return outcome;
} catch (const std::bad_alloc&) {
    // Whatever step ran out of memory, the file was not replaced.
    return OutOfMemory(context, fileName);
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
    languages.Gather(context, DataDirectory());
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
