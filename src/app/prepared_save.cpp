#include "app/prepared_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <new>

#include "app/hex_codec.h"
#include "app/history_section.h"
#include "app/saved_variables.h"
#include "definitions/profile.h"
#include "definitions/profile_outline.h"
#include "base/exception.h"
#include "platform/save_target.h"

namespace quenmark {

namespace {

// Placeholders for the two sections' lines while the rest of the file is
// rendered; never written.
const std::string VariablesMark = ";\x01prepared-variables;";
const std::string HistoryMark = ";\x01prepared-history;";

// The file's lines without the bodies of the variables and history
// sections, read line by line; none for a missing file or one that is not a
// regular file, which is opened without waiting for a writer.
std::vector<std::string> ReadStartOutline(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    TProfileOutline outline;
    struct stat status {};
    const bool read = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                      ReadProfileOutline(fd, {VariablesSection, HistorySection}, outline);
    close(fd);
    return read ? outline.Text.Lines() : std::vector<std::string>{};
}

// The file a write replaces: the target of a symbolic link that a save may
// follow (one of the user's own or root's), so that the link stays a link,
// as after any other save.
std::string WrittenPath(const std::string& path) {
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    if (CheckSaveTarget(path).Problem != TSaveTargetProblem::None) return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// The permission bits a save keeps: the file's own, or 0600 for a new file,
// which holds the user's variables and history.
mode_t FileMode(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0) return status.st_mode & 07777;
    return 0600;
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

// The bytes written in blocks from a buffer of its own; async-signal-safe.
class TFileBytes {
public:
    explicit TFileBytes(int fd) : FFd(fd) {}
    void Put(const char* data, size_t size) {
        while (size > 0) {
            if (FUsed == sizeof FBuffer) Flush();
            const size_t part = std::min(size, sizeof FBuffer - FUsed);
            std::memcpy(FBuffer + FUsed, data, part);
            FUsed += part;
            data += part;
            size -= part;
        }
    }
    void Put(const std::string& text) { Put(text.data(), text.size()); }
    // Writes what is left; whether every byte was written.
    bool Flush() {
        const char* data = FBuffer;
        for (size_t left = FUsed; FWritten && left > 0;) {
            const ssize_t written = write(FFd, data, left);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) FWritten = false;
            else {
                data += written;
                left -= static_cast<size_t>(written);
            }
        }
        FUsed = 0;
        return FWritten;
    }

private:
    int FFd;
    bool FWritten = true;
    size_t FUsed = 0;
    char FBuffer[8192];
};

struct TTextBytes {
    std::string& Text;
    void Put(const char* data, size_t size) { Text.append(data, size); }
    void Put(const std::string& text) { Text += text; }
};

// A history entry as its section writes it (see EncodeHistoryLine), with
// its line end, encoded piece by piece without allocating.
template <typename TBytes>
void PutHistoryLine(TBytes& bytes, std::string_view entry) {
    char piece[512];
    piece[0] = ';';
    const std::array<char, 8> length = LittleEndianBytes(static_cast<uint32_t>(entry.size()));
    bytes.Put(piece, static_cast<size_t>(EncodeBytes({length.data(), 4}, piece + 1) - piece));  // as EncodeInt32
    for (size_t at = 0; at < entry.size(); at += sizeof piece / 2) {
        const std::string_view part = entry.substr(at, sizeof piece / 2);
        bytes.Put(piece, static_cast<size_t>(EncodeBytes(part, piece) - piece));
    }
    bytes.Put("\r\n", 2);
}

}  // namespace

void WaitForTheEnd() {
    for (;;) {
        timespec second{1, 0};
        nanosleep(&second, nullptr);
    }
}

TPreparedSave::TPreparedSave(const TSettings& settings, TVMVariableList& variables,
                             const TInputHistory& history, TPrepareStart start)
    : FSettings(settings), FVariables(variables), FHistory(history), FStartChanges(variables.Changes()),
      FStartEntered(history.EnteredCount()), FStartFormat(settings.OutputFormat), FStartMode(settings.OutputMode) {
    if (start == TPrepareStart::Now) Prepare();
}

bool TPreparedSave::ChangedSinceStart() const {
    return FVariables.Changes() != FStartChanges || FHistory.EnteredCount() != FStartEntered ||
           FSettings.OutputFormat != FStartFormat || FSettings.OutputMode != FStartMode ||
           SectionChanges() != FStartSectionChanges;
}

void TPreparedSave::FollowSection(std::function<void(TProfileText&)> merge, std::function<uint64_t()> changeCount) {
    FMergeSection = std::move(merge);
    FSectionChanges = std::move(changeCount);
    FStartSectionChanges = SectionChanges();
    if (!FPrepared) return;
    try {
        RenderSettingsPart();
    } catch (const std::bad_alloc&) {
        FStale = true;
    }
}

uint64_t TPreparedSave::SectionChanges() const { return FSectionChanges ? FSectionChanges() : 0; }

void TPreparedSave::Prepare() {
    FSaveHistory = FSettings.SaveHistory;
    FPrepared = true;
    try {
        FPath = WrittenPath(FSettings.FileName());
        FTemporaryPath = FPath + ".prepared";
        FMode = FileMode(FPath);
        // The sections the prepared file writes itself are not kept.
        FStartLines = ReadStartOutline(FSettings.SourceFileName());
        RenderSettingsPart();
        RebuildVariables();
    } catch (const std::bad_alloc&) {
        FStale = true;  // prepared at the first refresh that finds the memory
    }
}

TPreparedSave::~TPreparedSave() = default;

void TPreparedSave::Refresh() {
    if (!BeginChange()) return;
    RefreshInChange();
    EndChange();
}

bool TPreparedSave::BeginChange() {
    FChanging.store(true);
    if (!FWriteClaimed.load()) return true;
    FChanging.store(false);
    return false;
}

void TPreparedSave::WaitForChange() const {
    while (FChanging.load()) {
        const timespec pause{0, 1000000};
        nanosleep(&pause, nullptr);
    }
}

void TPreparedSave::RefreshInChange() {
    if (!FPrepared) {
        if (ChangedSinceStart()) Prepare();
        return;
    }
    FSaveHistory = FSettings.SaveHistory;
    // The history is read as it is when the file is written; the rest
    // waits for a change of the table, the format or the mode.
    const bool settingsPartChanged = FSettings.OutputFormat != FRenderedFormat ||
                                     FSettings.OutputMode != FRenderedMode ||
                                     SectionChanges() != FRenderedSectionChanges;
    if (!FStale && FVariables.Changes() == FRefreshedChanges && !settingsPartChanged) return;
    try {
        if (FStale || settingsPartChanged) RenderSettingsPart();
        if (FStale) RebuildVariables();
        else RefreshVariables();
        FStale = false;
    } catch (const std::bad_alloc&) {
        // Too large to prepare beside the session itself: the pieces may be
        // part way between two lines, so nothing is written from them (the
        // file stays as it was) until a later line rebuilds them whole. The
        // save at the end is not affected.
        FStale = true;
    }
}

// The file as it was at the start with the settings stored into it as a
// save stores them, split around the two sections.
void TPreparedSave::RenderSettingsPart() {
    FRenderedFormat = FSettings.OutputFormat;
    FRenderedMode = FSettings.OutputMode;
    FRenderedSectionChanges = SectionChanges();
    TProfileText text(FStartLines);
    FSettings.StoreInto(text);
    if (FMergeSection) FMergeSection(text);
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

// The variable's line as its section writes it, valid until the next call.
std::string_view TPreparedSave::EncodeLine(const TVMVariable& variable) {
    FLine.clear();
    if (!FSettings.SaveVariables || variable.IsConstant) return FLine;
    try {
        AppendVariableLine(variable, FLine);
        FLine += "\r\n";
    } catch (const Exception&) {
        FLine.clear();  // a value that cannot be saved is left out
    }
    return FLine;
}

void TPreparedSave::RebuildVariables() {
    FRefreshedChanges = FVariables.Changes();
    FVariables.TakeChanges(FChanged);
    FVariableLines.Clear();
    FVariableIndex.clear();
    FVariableIndex.reserve(FVariables.Count());
    for (size_t i = 0; i < FVariables.Count(); ++i) {
        FVariableIndex[&FVariables[i]] = i;
        FVariableLines.Add(EncodeLine(FVariables[i]));
    }
}

void TPreparedSave::RefreshVariables() {
    FRefreshedChanges = FVariables.Changes();
    if (FVariables.TakeChanges(FChanged) || FVariableLines.Size() > FVariables.Count()) {
        RebuildVariables();
        return;
    }
    for (const TVMVariable* variable : FChanged) {
        const auto at = FVariableIndex.find(variable);
        if (at != FVariableIndex.end()) FVariableLines.Replace(at->second, EncodeLine(*variable));
    }
    for (size_t i = FVariableLines.Size(); i < FVariables.Count(); ++i) {
        FVariableIndex[&FVariables[i]] = i;
        FVariableLines.Add(EncodeLine(FVariables[i]));
    }
}

template <typename TBytes>
void TPreparedSave::PutPieces(TBytes& bytes) const {
    const auto putVariables = [&bytes, this]() {
        for (size_t i = 0; i < FVariableLines.Size(); ++i) {
            const std::string_view line = FVariableLines[i];
            bytes.Put(line.data(), line.size());
        }
    };
    const auto putHistory = [&bytes, this]() {
        if (FSaveHistory) FHistory.ForEach([&bytes](std::string_view entry) { PutHistoryLine(bytes, entry); });
    };
    bytes.Put(FBefore);
    if (FHistoryFirst) putHistory();
    else putVariables();
    bytes.Put(FBetween);
    if (FHistoryFirst) putVariables();
    else putHistory();
    bytes.Put(FAfter);
}

std::string TPreparedSave::Contents() const {
    std::string text;
    TTextBytes bytes{text};
    PutPieces(bytes);
    return text;
}

bool TPreparedSave::WriteNow() const {
    if (!FPrepared) return true;  // nothing changed: the file stays as it is
    if (FStale) return false;  // pieces left part way by a lack of memory
    // A fresh file, private while it is written: one left behind may be
    // open elsewhere, and a descriptor keeps the access it was opened with.
    unlink(FTemporaryPath.c_str());
    const int fd = open(FTemporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    TFileBytes bytes(fd);
    PutPieces(bytes);
    bool written = bytes.Flush() && fchmod(fd, FMode) == 0 && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (written && rename(FTemporaryPath.c_str(), FPath.c_str()) == 0) return true;
    unlink(FTemporaryPath.c_str());
    return false;
}

}  // namespace quenmark
