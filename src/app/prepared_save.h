#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/input_history.h"
#include "app/rewritable_lines.h"
#include "app/settings.h"
#include "vm/variable_list.h"

namespace quenmark {

class TProfileText;

// The settings file as the saves at the end of a run would write it
// (settings, then variables, then history), brought up to date after every
// completed line and kept ready, so that a signal handler can write it with
// open, write, fsync and rename only when the line in progress never ends.
//
// The settings part is stored by the settings' own code into the file as
// it was at the start; a line changes only the output format and mode, so
// only a change of them stores it again. Variable lines are encoded as
// their section writes them, each line once: after a line only the
// variables it wrote or added are encoded. The history is not copied: its
// entries are encoded as their section writes them while the file is
// written, so the history must change only inside BeginChange and
// EndChange, together with the refresh after its line (RefreshInChange),
// or on the thread whose interruption writes the file. What another copy
// of the program saved meanwhile is not merged in.
// Blocks the calling thread for good, for a thread that must change nothing
// more because a write was claimed: whoever claimed it ends the process.
// Async-signal-safe.
[[noreturn]] void WaitForTheEnd();

// When the prepared file is first built.
enum class TPrepareStart {
    Now,            // at once: every later write replaces the file
    AtFirstChange,  // at the first refresh that finds a variable, the history
                    // or the format changed; until then nothing is read or
                    // built, and a write has nothing to keep
};

class TPreparedSave {
public:
    TPreparedSave(const TSettings& settings, TVMVariableList& variables, const TInputHistory& history,
                  TPrepareStart start = TPrepareStart::Now);
    ~TPreparedSave();
    TPreparedSave(const TPreparedSave&) = delete;
    TPreparedSave& operator=(const TPreparedSave&) = delete;

    // A section the settings part of the file takes beside the settings
    // (the user's functions): merged in whenever changeCount gives a new
    // value, as the save at the end would merge it. Set before the first
    // refresh.
    void FollowSection(std::function<void(TProfileText&)> merge, std::function<uint64_t()> changeCount);

    // Brings the prepared file up to the state after the last line. Run it
    // on the thread that runs the lines, between lines.
    void Refresh();
    // Refresh between BeginChange and EndChange.
    void RefreshInChange();

    // Around a change of the history and the refresh after it, on the
    // thread that runs the lines. False when a write has been claimed: then
    // nothing may change, and the claimer ends the process.
    bool BeginChange();
    void EndChange() { FChanging.store(false, std::memory_order_release); }

    // Whether the prepared file is built (see TPrepareStart).
    bool Prepared() const { return FPrepared; }

    // The prepared file's bytes.
    std::string Contents() const;

    // Writes the prepared file over the settings file: a temporary file
    // beside it, flushed, then renamed over it. Async-signal-safe; the
    // caller must have claimed the write and keep Refresh from running
    // meanwhile (WaitForChange, or the thread that runs Refresh is the one
    // interrupted). Returns whether it worked; false without writing while
    // the last refresh ran out of memory part way; true without writing
    // while nothing is prepared because nothing changed.
    bool WriteNow() const;

    // True for the first caller only, so that of a signal handler and a
    // signal thread only one writes; no change begins after it.
    // Async-signal-safe.
    bool ClaimWrite() { return !FWriteClaimed.exchange(true); }
    // After ClaimWrite on another thread: waits for a change in progress.
    void WaitForChange() const;

private:
    void Prepare();
    bool ChangedSinceStart() const;
    uint64_t SectionChanges() const;
    void RenderSettingsPart();
    void RefreshVariables();
    void RebuildVariables();
    std::string_view EncodeLine(const TVMVariable& variable);
    template <typename TBytes>
    void PutPieces(TBytes& bytes) const;

    const TSettings& FSettings;
    TVMVariableList& FVariables;
    const TInputHistory& FHistory;
    // A flag each for the two threads, each set before the other's is read
    // (sequentially consistent), so that a change and a write never overlap
    // and the line thread takes no lock.
    std::atomic<bool> FWriteClaimed{false};
    std::atomic<bool> FChanging{false};

    std::function<void(TProfileText&)> FMergeSection;
    std::function<uint64_t()> FSectionChanges;
    uint64_t FStartSectionChanges = 0;
    uint64_t FRenderedSectionChanges = 0;

    bool FPrepared = false;
    // With AtFirstChange, the state a change is told from.
    uint64_t FStartChanges = 0;
    uint64_t FStartEntered = 0;
    std::string FStartFormat;
    uint8_t FStartMode = 0;

    std::string FPath;
    std::string FTemporaryPath;
    mode_t FMode = 0600;
    // The file as it was at the start, without the two sections' lines.
    std::vector<std::string> FStartLines;
    bool FStale = false;  // preparing ran out of memory part way
    std::string FRenderedFormat;
    uint8_t FRenderedMode = 0;

    // The file around the two sections: before the first, between them,
    // after the second, each line ended by CR LF.
    std::string FBefore, FBetween, FAfter;
    bool FHistoryFirst = false;

    // One line per table entry (empty for a constant), in table order.
    TRewritableLines FVariableLines;
    std::string FLine;  // the line being encoded
    std::unordered_map<const TVMVariable*, size_t> FVariableIndex;
    std::vector<const TVMVariable*> FChanged;
    bool FSaveHistory = false;  // SaveHistory at the last refresh
    uint64_t FRefreshedChanges = 0;  // the table's Changes() the variable lines follow
};

}  // namespace quenmark
