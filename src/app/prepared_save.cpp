#include "app/prepared_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <new>

#include "app/history_section.h"
#include "app/saved_variables.h"
#include "definitions/profile.h"
#include "base/exception.h"

namespace quenmark {

namespace {

// Placeholders for the two sections' lines while the rest of the file is
// rendered; never written.
const std::string VariablesMark = ";\x01prepared-variables;";
const std::string HistoryMark = ";\x01prepared-history;";

// The file's bytes; nothing for a missing file or one that is not a regular
// file, which is opened without waiting for a writer.
std::string ReadWholeFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    std::string text;
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        char buffer[65536];
        for (ssize_t count; (count = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(count));
    }
    close(fd);
    return text;
}

// The permission bits a save keeps: the file's own, or 0666 less the umask.
mode_t FileMode(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0) return status.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The lines from..to (exclusive), each ended by CR LF.
std::string JoinLines(const std::vector<std::string>& lines, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to; ++i) {
        text += lines[i];
        text += "\r\n";
    }
    return text;
}

bool WriteAll(int fd, const std::string& text) {
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

bool WriteAll(int fd, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (!WriteAll(fd, line)) return false;
    return true;
}

}  // namespace

TPreparedSave::TPreparedSave(const TSettings& settings, TVMVariableList& variables,
                             const TInputHistory& history)
    : FSettings(settings), FVariables(variables), FHistory(history), FPath(settings.FileName()),
      FTemporaryPath(settings.FileName() + ".prepared"), FMode(FileMode(settings.FileName())),
      FStartContents(ReadWholeFile(settings.SourceFileName())) {
    std::lock_guard<std::mutex> lock(FMutex);
    RenderSettingsPart();
    RebuildVariables();
    RefreshHistory(true);
}

TPreparedSave::~TPreparedSave() = default;

void TPreparedSave::Refresh() {
    std::lock_guard<std::mutex> lock(FMutex);
    try {
        if (FStale || FSettings.OutputFormat != FRenderedFormat || FSettings.OutputMode != FRenderedMode)
            RenderSettingsPart();
        if (FStale) RebuildVariables();
        else RefreshVariables();
        RefreshHistory(FStale);
        FStale = false;
    } catch (const std::bad_alloc&) {
        // Too large to prepare beside the session itself: the prepared file
        // stays at an earlier line, the next line rebuilds it whole, and
        // the save at the end is not affected.
        FStale = true;
    }
}

// The file as it was at the start with the settings stored into it as a
// save stores them, split around the two sections.
void TPreparedSave::RenderSettingsPart() {
    FRenderedFormat = FSettings.OutputFormat;
    FRenderedMode = FSettings.OutputMode;
    TProfileText text(FStartContents);
    FSettings.StoreInto(text);
    ReplaceSectionLines(text, VariablesSection, {VariablesMark});
    ReplaceSectionLines(text, HistorySection, {HistoryMark});
    const std::vector<std::string>& lines = text.Lines();
    size_t variablesAt = 0;
    size_t historyAt = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == VariablesMark) variablesAt = i;
        if (lines[i] == HistoryMark) historyAt = i;
    }
    FHistoryFirst = historyAt < variablesAt;
    const size_t first = std::min(variablesAt, historyAt);
    const size_t second = std::max(variablesAt, historyAt);
    FBefore = JoinLines(lines, 0, first);
    FBetween = JoinLines(lines, first + 1, second);
    FAfter = JoinLines(lines, second + 1, lines.size());
}

std::string TPreparedSave::VariableLine(const TVMVariable& variable) const {
    if (!FSettings.SaveVariables || variable.IsConstant) return {};
    try {
        return EncodeVariableLine(variable) + "\r\n";
    } catch (const Exception&) {
        return {};  // a value that cannot be saved is left out
    }
}

void TPreparedSave::RebuildVariables() {
    FVariables.TakeChanges(FChanged);
    FVariableLines.clear();
    FVariableIndex.clear();
    for (size_t i = 0; i < FVariables.Count(); ++i) {
        FVariableIndex[&FVariables[i]] = i;
        FVariableLines.push_back(VariableLine(FVariables[i]));
    }
}

void TPreparedSave::RefreshVariables() {
    if (FVariables.TakeChanges(FChanged) || FVariableLines.size() > FVariables.Count()) {
        RebuildVariables();
        return;
    }
    for (const TVMVariable* variable : FChanged) {
        const auto at = FVariableIndex.find(variable);
        if (at != FVariableIndex.end()) FVariableLines[at->second] = VariableLine(*variable);
    }
    for (size_t i = FVariableLines.size(); i < FVariables.Count(); ++i) {
        FVariableIndex[&FVariables[i]] = i;
        FVariableLines.push_back(VariableLine(FVariables[i]));
    }
}

// Follows the history slot by slot: an emptied slot empties its line, new
// slots are encoded once; renumbered slots make all lines again.
void TPreparedSave::RefreshHistory(bool rebuild) {
    rebuild = FHistory.TakeRemovedSlots(FRemovedHistorySlots) || rebuild ||
              FHistoryLinesSaved != FSettings.SaveHistory || FHistoryLines.size() > FHistory.SlotCount();
    if (rebuild) {
        FHistoryLines.clear();
        FHistoryLinesSaved = FSettings.SaveHistory;
    } else {
        for (size_t slot : FRemovedHistorySlots)
            if (slot < FHistoryLines.size()) FHistoryLines[slot] = std::string();
    }
    if (!FHistoryLinesSaved) return;
    for (size_t slot = FHistoryLines.size(); slot < FHistory.SlotCount(); ++slot) {
        const std::string* entry = FHistory.Slot(slot);
        std::string line;
        if (entry) {
            line = EncodeHistoryLine(*entry);  // made with room for the line end
            line += "\r\n";
        }
        FHistoryLines.push_back(std::move(line));
    }
}

bool TPreparedSave::WritePieces(int fd) const {
    const std::vector<std::string>& first = FHistoryFirst ? FHistoryLines : FVariableLines;
    const std::vector<std::string>& second = FHistoryFirst ? FVariableLines : FHistoryLines;
    return WriteAll(fd, FBefore) && WriteAll(fd, first) && WriteAll(fd, FBetween) && WriteAll(fd, second) &&
           WriteAll(fd, FAfter);
}

std::string TPreparedSave::Contents() const {
    const std::vector<std::string>& first = FHistoryFirst ? FHistoryLines : FVariableLines;
    const std::vector<std::string>& second = FHistoryFirst ? FVariableLines : FHistoryLines;
    std::string text = FBefore;
    for (const std::string& line : first) text += line;
    text += FBetween;
    for (const std::string& line : second) text += line;
    return text + FAfter;
}

bool TPreparedSave::WriteNow() const {
    const int fd = open(FTemporaryPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, FMode);
    if (fd < 0) return false;
    bool written = WritePieces(fd) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (written && rename(FTemporaryPath.c_str(), FPath.c_str()) == 0) return true;
    unlink(FTemporaryPath.c_str());
    return false;
}

}  // namespace quenmark
