#include "console/line_editor.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <dlfcn.h>

#include "app/name_completion.h"
#include "app/result_recall.h"
#include "platform/directory_trust.h"
#include "platform/program_directory.h"

namespace quenmark {

namespace {

// The editor calls back through plain functions; they reach the run's
// completion and results through this one object.
struct TEditorState {
    TEditorState(const QuenmarkLineEditor& editor, TLineSession& session, TCCInterpreter& interpreter)
        : Editor(editor), Completion(interpreter, nullptr) {
        Recall.Attach(session, interpreter);
    }

    const QuenmarkLineEditor& Editor;
    TNameCompletion Completion;
    TResultRecall Recall;
};

// Lives to the end of the run, as the editor that calls back does: a plain
// pointer, so that the program registers no destructor at start.
TEditorState* State = nullptr;

constexpr const char* RecallFunctionName = "quenmark-last-result";
// Control-^ recalls, Control-X Control-R redraws; Alt+. types both.
constexpr int RecallKey = 0x1E;
constexpr const char* RecallKeyName = "^^";
constexpr const char* RedrawKeys = "^X^R";

// Words end where a name cannot go on; "@" stays inside a word, so that a
// command is completed with it.
char WordBreaks[] = " \t\n\"'+-*/%&|^!=()[],#<>.";

char* CopyForEditor(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// The longest start that every insert shares, without regard to letter
// case, in the first one's spelling; never shorter than what was typed.
std::string SharedStart(const std::vector<TCompletionCandidate>& candidates, const std::string& typed) {
    std::string shared = candidates.front().Insert;
    for (const TCompletionCandidate& candidate : candidates) {
        size_t length = 0;
        while (length < shared.size() && length < candidate.Insert.size() &&
               std::toupper(static_cast<unsigned char>(shared[length])) ==
                   std::toupper(static_cast<unsigned char>(candidate.Insert[length])))
            ++length;
        shared.resize(length);
    }
    return shared.size() < typed.size() ? typed : shared;
}

// The editor's match list: the replacement of the typed word first, then
// every candidate; null when nothing matches.
char** MatchList(const std::vector<TCompletionCandidate>& candidates, const std::string& typed) {
    auto** matches = static_cast<char**>(std::calloc(candidates.size() + 2, sizeof(char*)));
    if (!matches) return nullptr;
    matches[0] = CopyForEditor(candidates.size() == 1 ? candidates.front().Insert : SharedStart(candidates, typed));
    if (candidates.size() > 1)
        for (size_t i = 0; i < candidates.size(); ++i) matches[i + 1] = CopyForEditor(candidates[i].Insert);
    return matches;
}

char** CompleteName(const char* text, int, int end) {
    const QuenmarkLineEditor& editor = State->Editor;
    *editor.AttemptedCompletionOver = 1;  // never file names
    const std::string line(*editor.LineBuffer, static_cast<size_t>(*editor.End));
    const TTypedName typed = TypedNameAt(line, static_cast<size_t>(end));
    // The editor replaces its own word: complete only where it is the name.
    if (typed.Text.empty() || typed.Text != text) return nullptr;
    const std::vector<TCompletionCandidate> candidates = State->Completion.Candidates(typed.Text);
    return candidates.empty() ? nullptr : MatchList(candidates, typed.Text);
}

// Puts the text into the editor with the cursor at the given byte. The
// editor keeps its cursor where it was when it replaces the line, and
// inserting moves it, so: the text up to the nearer of the two positions,
// then the rest up to the new cursor inserted, then the whole text.
void SetLine(const QuenmarkLineEditor& editor, const std::string& text, size_t cursor) {
    const size_t kept = std::min(static_cast<size_t>(*editor.Point), cursor);
    editor.ReplaceLine(text.substr(0, kept).c_str(), 0);
    if (cursor > kept) editor.InsertText(text.substr(kept, cursor - kept).c_str());
    editor.ReplaceLine(text.c_str(), 0);
}

// One press of Alt+.: the last result at the cursor, or, right after a
// press, the result before in place of the one inserted.
int RecallResult(int, int) {
    const QuenmarkLineEditor& editor = State->Editor;
    TEditedLine line{std::string(*editor.LineBuffer, static_cast<size_t>(*editor.End)),
                     static_cast<size_t>(*editor.Point)};
    if (!State->Recall.Recall(line)) return editor.Ding();
    SetLine(editor, line.Text, line.Cursor);
    return 0;
}

const QuenmarkLineEditor* OpenLineEditor(std::string& problem) {
    const std::string path = ProgramDirectory() + LineEditorLibraryName;
    // Code comes only from where other users cannot put it, as for modules.
    if (!IsTrustedDirectory(ProgramDirectory()) || !IsTrustedFile(path)) {
        problem = path + ": other users can change it, so it is not loaded";
        return nullptr;
    }
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        problem = dlerror();
        return nullptr;
    }
    auto* entry = reinterpret_cast<QuenmarkLineEditorEntry*>(dlsym(library, LineEditorEntryName));
    const QuenmarkLineEditor* editor = entry ? entry() : nullptr;
    if (!editor || editor->Size != sizeof(QuenmarkLineEditor)) {
        problem = path + ": not the line editor of this program";
        dlclose(library);
        return nullptr;
    }
    return editor;  // the library stays loaded to the end of the run
}

}  // namespace

const QuenmarkLineEditor* LoadLineEditor(std::string& problem) {
    static std::string failure;
    static const QuenmarkLineEditor* const editor = OpenLineEditor(failure);
    problem = failure;
    return editor;
}

void InstallLineEditor(const QuenmarkLineEditor& editor, TLineSession& session, TCCInterpreter& interpreter) {
    delete State;
    State = new TEditorState(editor, session, interpreter);
    editor.Initialize();
    *editor.AttemptedCompletionFunction = CompleteName;
    *editor.CompleterWordBreakCharacters = WordBreaks;
    *editor.BasicWordBreakCharacters = WordBreaks;
    *editor.CompletionAppendCharacter = '\0';
    // A function of the editor's own does not redraw the line after it, so
    // Alt+. types two keys: one that recalls, one that redraws the line in
    // place.
    editor.AddDefun(RecallFunctionName, RecallResult, RecallKey);
    editor.ParseAndBind((std::string("bind ") + RedrawKeys + " ed-redisplay").c_str());
    editor.ParseAndBind((std::string("bind -s ^[. ") + RecallKeyName + RedrawKeys).c_str());
}

}  // namespace quenmark
