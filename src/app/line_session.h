#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/history_recall.h"
#include "app/input_history.h"
#include "app/line_log.h"
#include "app/prepared_save.h"
#include "app/saved_functions.h"
#include "app/session_changes.h"
#include "app/settings_save.h"
#include "expression/interpreter.h"

namespace quenmark {

class TSettings;

// The window-independent handling of input lines shared by the desktop
// window and the terminal front end: echo, interpretation, output lines,
// the copy of output mode and format into the settings after a command
// line, and the input history with its recall rules.
// Its own texts are in the messages of the interpreter's context.
class TLineSession {
public:
    TLineSession(TCCInterpreter& interpreter, TSettings& settings);

    // Receives every line for the log, in order, the echo as "> " and the
    // line; not called while a line log is set.
    std::function<void(const std::string&)> OnLogLine;
    // Sends the log lines to log instead of OnLogLine, so that nothing is
    // built or copied for a line the front end does not show; null goes back
    // to OnLogLine. The log must outlive the session or be unset first.
    void SetLineLog(TLineLog* log) { FLineLog = log; }
    // Whether a command line's format mask and output mode become the
    // settings' (and are saved with them); a script keeps its own.
    bool KeepsOutputFormat = true;
    // Told the output mode after every line that ended in the command process.
    std::function<void(OutputMode)> OnOutputModeSelected;
    // Told the result of every line that was an expression.
    std::function<void(const Variant&)> OnExpressionResult;

    // The context of the session's texts: the interpreter's.
    const TCCContext& Context() const { return FInterpreter.Context(); }
    // The request to abandon the running line: the interpreter's.
    TLineInterrupt& LineInterrupt() { return FInterpreter.LineInterrupt(); }

    // Runs one line (already trimmed) as the log window does. Returns false
    // when the line failed; its error text is then the last line logged.
    bool ExecuteLine(const std::string& line);
    // ExecuteLine without entering the line into the history, for a caller
    // that enters it with RecordHistory together with other state.
    bool InterpretLine(const std::string& line);
    // Enters a line into the history, as ExecuteLine does after running it.
    void RecordHistory(const std::string& line);

    // Restores the saved format mask and output mode in the interpreter,
    // without recording the lines in the history.
    void RestoreOutputFormat();

    // "Quenmark Version 1.1 (Interpreter Level 1A)".
    static std::string Banner();
    // The welcome text on a first start (the stored user differs from the
    // login name), otherwise nothing; then the notices about saved
    // functions that could not be defined.
    std::vector<std::string> WelcomeLines() const;
    const std::vector<std::string>& FunctionNotices() const { return FFunctionNotices; }

    // The history, oldest first, and its recall by the arrow keys: each
    // returns the entry to show, or the text unchanged when there is none.
    void LoadHistory();
    const std::vector<std::string>& History() const { return FHistory.Entries(); }
    const TInputHistory& InputHistory() const { return FHistory; }
    // The entry shown, counted from the oldest; the size of the history on
    // the draft, the line being typed.
    int HistoryIndex() const {
        return static_cast<int>(FHistory.Size() - std::min(FRecall.StepsBack(), FHistory.Size()));
    }
    std::string HistoryUp(const std::string& currentText);
    std::string HistoryDown(const std::string& currentText);

    // Drops the copy of the settings file that start-up read, once the
    // settings, variables and history are taken from it; a later read reads
    // the file again. A large file then costs its memory once, not twice.
    void ForgetLoadedFile();

    // Saves settings, variables and history in one locked, atomic
    // replacement of the settings file, merged with what other copies of
    // the program saved meanwhile (see TSettings::Save, TSessionChanges).
    TSaveOutcome SaveAll();
    // Whether SaveAll would keep anything changed since the load or the
    // last save: a setting, a variable, a function or a history entry.
    bool HasUnsavedChanges() const;
    // Lets the file prepared for an abrupt end keep the user's functions
    // as SaveAll would merge them.
    void KeepFunctionsIn(TPreparedSave& prepared) const;
    // What SaveAll does to the file's current contents; with
    // RenderSettingsFile it gives the bytes a save would write now.
    void MergeSaveInto(TProfileText& file) const;
    // After those contents were written by other means: they become the
    // baseline of the next merge.
    void NoteSaved();

private:
    void Log(const std::string& line);

    TCCInterpreter& FInterpreter;
    TSettings& FSettings;
    TSessionChanges FChanges;
    TFunctionChanges FFunctionChanges;
    std::vector<std::string> FFunctionNotices;
    TInputHistory FHistory;
    THistoryRecall FRecall;
    TLineLog* FLineLog = nullptr;
    bool FRestoring = false;
};

// Removes leading and trailing blanks and control characters.
std::string TrimLine(const std::string& text);
// The same in place, keeping the string's room for the next line.
void TrimLineInPlace(std::string& text);
// Replaces line with the trimmed text, in the room line already has.
void AssignTrimmedLine(std::string& line, std::string_view text);

}  // namespace quenmark
