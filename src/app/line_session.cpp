#include "app/line_session.h"

#include <algorithm>
#include <iterator>

#include "app/history_section.h"
#include "app/saved_variables.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "base/program_version.h"
#include "definitions/profile.h"
#include "definitions/profile_cache.h"
#include "base/exception.h"
#include "base/names.h"
#include "expression/string_literal.h"

namespace quenmark {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7F'; }

// The text without blanks and control characters at either end.
std::string_view TrimmedView(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (end > 0 && IsBlankOrControl(text[end - 1])) --end;
    while (begin < end && IsBlankOrControl(text[begin])) ++begin;
    return text.substr(begin, end - begin);
}

}  // namespace

std::string TrimLine(const std::string& text) { return std::string(TrimmedView(text)); }

void TrimLineInPlace(std::string& text) {
    const std::string_view trimmed = TrimmedView(text);
    const auto begin = static_cast<size_t>(trimmed.data() - text.data());
    text.resize(begin + trimmed.size());
    if (begin > 0) text.erase(0, begin);
}

void AssignTrimmedLine(std::string& line, std::string_view text) {
    const std::string_view trimmed = TrimmedView(text);
    line.clear();  // then an append, which needs none of the overlap handling of assign
    line.append(trimmed.data(), trimmed.size());
}

TLineSession::TLineSession(TCCInterpreter& interpreter, TSettings& settings)
    : FInterpreter(interpreter), FSettings(settings) {
    FChanges.NoteVariablesSaved(interpreter.Variables());
    FChanges.FollowHistory(FHistory);
    // The saved functions come after the modules and the variables, whose
    // names they may not take.
    FFunctionNotices = ReadFunctionsSection(settings, interpreter);
    FFunctionChanges.NoteSaved(interpreter.UserFunctions());
}

void TLineSession::Log(const std::string& line) {
    if (FLineLog) FLineLog->Line(line);
    else if (OnLogLine) OnLogLine(line);
}

bool TLineSession::ExecuteLine(const std::string& line) {
    const bool succeeded = InterpretLine(line);
    if (!FRestoring) RecordHistory(line);
    return succeeded;
}

bool TLineSession::InterpretLine(const std::string& line) {
    if (FLineLog) FLineLog->Echo(line);
    else if (OnLogLine) OnLogLine("> " + line);
    auto& output = FInterpreter.OutputLines();
    bool succeeded = false;
    try {
        succeeded = FInterpreter.ProcessLine(line);
    } catch (const EINError& error) {
        output.push_back(error.what());
    } catch (const Exception& error) {
        if (FInterpreter.DebugMode()) output.push_back(std::string("Runtime error : ") + error.what());
        output.push_back(FInterpreter.Context().GetText("INT999"));
    }
    for (const std::string& text : output) Log(text);
    output.clear();

    if (FInterpreter.LastWasExpression()) {
        if (OnExpressionResult) OnExpressionResult(FInterpreter.LastResult());
    } else {
        if (KeepsOutputFormat) {
            FSettings.OutputFormat = FInterpreter.FormatMask();
            FSettings.OutputMode = static_cast<uint8_t>(FInterpreter.GetOutputMode());
        }
        if (OnOutputModeSelected) OnOutputModeSelected(FInterpreter.GetOutputMode());
    }
    return succeeded;
}

// The changes since the last save read the new entries from the history.
void TLineSession::RecordHistory(const std::string& line) {
    FHistory.Enter(line, FSettings.MaxHistory > 0 ? static_cast<size_t>(FSettings.MaxHistory) : 0);
    FRecall.Reset();
}

void TLineSession::RestoreOutputFormat() {
    // The format line copies the interpreter's mode into the settings, so
    // the saved mode is taken first.
    const uint8_t savedMode = FSettings.OutputMode;
    // Where no one would see the command lines or hear of the mode, the
    // state is set directly: their texts would be built only to be dropped.
    if (!FLineLog && !OnLogLine && !OnOutputModeSelected) {
        const OutputMode mode = savedMode < std::size(OutputModes) ? OutputModes[savedMode] : FInterpreter.GetOutputMode();
        FInterpreter.SetFormat(FSettings.OutputFormat, mode);
        FSettings.OutputMode = static_cast<uint8_t>(mode);
        return;
    }
    FRestoring = true;
    ExecuteLine("@FORMAT " + StringLiteral(FSettings.OutputFormat));
    if (savedMode < std::size(OutputModes))
        ExecuteLine(std::string("@") + OutputModeWord(OutputModes[savedMode]));
    FRestoring = false;
}

std::string TLineSession::Banner() {
    return std::string(ProductNameText) + " Version " + ProductVersionText + " (" + TCCInterpreter::GetLevel() + ")";
}

std::vector<std::string> TLineSession::WelcomeLines() const {
    std::vector<std::string> lines;
    if (!FSettings.DamagedFileMovedTo().empty())
        lines.push_back(MovedAsideText(FInterpreter.Context(), FSettings.DamagedFileMovedTo()));
    std::string user = "*FirstStartup";
    ReadProfileString(FSettings.Context(), FSettings.SourceFileName(), "Others", "User", user);
    if (user != GetLoginUserName()) lines.push_back(FInterpreter.Context().GetText("QEN101"));
    lines.insert(lines.end(), FFunctionNotices.begin(), FFunctionNotices.end());
    return lines;
}

std::string TLineSession::HistoryUp(const std::string& currentText) {
    return FRecall.Up(FHistory.Entries(), currentText);
}

std::string TLineSession::HistoryDown(const std::string& currentText) {
    return FRecall.Down(FHistory.Entries(), currentText);
}

void TLineSession::LoadHistory() {
    std::vector<std::string> entries;
    ReadHistorySection(FSettings, entries);
    FHistory.Assign(std::move(entries));
    FRecall.Reset();
}

void TLineSession::MergeSaveInto(TProfileText& file) const {
    FSettings.StoreInto(file);
    FChanges.MergeInto(file, FSettings, FInterpreter.Variables());
    FFunctionChanges.MergeInto(file, FInterpreter.UserFunctions());
}

void TLineSession::NoteSaved() {
    FSettings.NoteSaved();
    FChanges.NoteSaved(FInterpreter.Variables());
    FFunctionChanges.NoteSaved(FInterpreter.UserFunctions());
}

void TLineSession::ForgetLoadedFile() {
    ForgetDefinitionFile(FSettings.Context(), FSettings.SourceFileName());
    if (FSettings.FileName() != FSettings.SourceFileName()) ForgetDefinitionFile(FSettings.Context(), FSettings.FileName());
}

bool TLineSession::HasUnsavedChanges() const {
    return FSettings.ChangedSinceSaved() || FChanges.HasChanges(FSettings, FInterpreter.Variables()) ||
           FFunctionChanges.Changed(FInterpreter.UserFunctions());
}

void TLineSession::KeepFunctionsIn(TPreparedSave& prepared) const {
    prepared.FollowSection(
        [this](TProfileText& file) {
            if (FFunctionChanges.Changed(FInterpreter.UserFunctions()))
                FFunctionChanges.MergeInto(file, FInterpreter.UserFunctions());
        },
        [this]() { return FInterpreter.UserFunctions().Changes(); });
}

TSaveOutcome TLineSession::SaveAll() {
    // The same merge as MergeSaveInto, with the two large sections read
    // and written a line at a time.
    TSettingsMerge merge([this](TProfileText& file) { FSettings.StoreInto(file); });
    merge.Sections = {{VariablesSection, FChanges.VariablesMerge(FSettings, FInterpreter.Variables())},
                      {HistorySection, FChanges.HistoryMerge(FSettings)}};
    if (FFunctionChanges.Changed(FInterpreter.UserFunctions()))
        merge.Sections.push_back({FunctionsSection, FFunctionChanges.Merge(FInterpreter.UserFunctions())});
    TSaveOutcome outcome =
        UpdateSettingsFile(FInterpreter.Context(), FSettings.FileName(), merge, FSettings.SourceFileName());
    if (outcome.Saved) NoteSaved();
    return outcome;
}

}  // namespace quenmark
