#pragma once

#include <cstdio>

#include <editline/readline.h>

// The terminal's line editor lives in a library of its own beside the
// program, loaded only when standard input is a terminal: a run that reads
// a pipe or a file never maps the editor and the libraries it needs. The
// library hands out one table of the editor's functions and variables.
extern "C" {

struct QuenmarkLineEditor {
    // sizeof(QuenmarkLineEditor) as the library was built: a table of
    // another layout is not used.
    unsigned Size;
    char* (*ReadLine)(const char* prompt);
    int (*Initialize)();
    int (*AddHistory)(const char* line);
    void (*ClearHistory)();
    int (*InsertText)(const char* text);
    void (*ReplaceLine)(const char* text, int clearUndo);
    int (*Ding)();
    int (*ParseAndBind)(const char* line);
    int (*AddDefun)(const char* name, rl_command_func_t* function, int key);
    char** LineBuffer;
    int* Point;
    int* End;
    const char** BasicWordBreakCharacters;
    char** CompleterWordBreakCharacters;
    rl_compentry_func_t** CompletionEntryFunction;
    rl_completion_func_t** AttemptedCompletionFunction;
    int* AttemptedCompletionOver;
    int* CompletionAppendCharacter;
    int (**GetcFunction)(FILE*);
};

// The library's one entry point.
typedef const QuenmarkLineEditor* QuenmarkLineEditorEntry();
}

namespace quenmark {

// The file name of the library in the program directory, and its entry.
inline constexpr const char* LineEditorLibraryName = "quenmark-console-editor.so";
inline constexpr const char* LineEditorEntryName = "quenmark_line_editor";

}  // namespace quenmark
