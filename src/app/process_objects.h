#pragma once

#include "app/settings.h"
#include "base/context.h"
#include "definitions/language_list.h"
#include "expression/interpreter.h"
#include "vm/module_list.h"

namespace quenmark {

// The process-wide objects of a run. Each is created once by the start-up
// steps below, in this order, and lives until the process ends; none is
// freed one by one, so modules stay loaded to the very end.
//
// The application owns the one context of the run (base/context.h) here
// and hands it to everything below: its messages are the language list's
// (the chosen language's catalogue), its separators those of the user's
// LC_NUMERIC locale, its store the one cache of definition files that
// every reader and writer shares, and it names the settings file. Nothing
// in the core keeps such state of its own; the module output callback's
// list (app/module_output.h) is the one global left, as the modules' C ABI
// passes no context.
TCCContext& Context();
TSettings& Settings();
TCCLanguageList& LanguageList();
TCCInterpreter& Interpreter();
TVMModuleList& ModuleList();

// Creates the settings with their defaults and loads the settings file.
void LoadSettings(const TWorkAreaSource& workArea = nullptr);
// Gathers the languages and puts the chosen one in force: the context's
// messages are the list's.
void LoadLanguages();
// Creates the interpreter.
void CreateInterpreter();
// Loads every module of the program directory into the interpreter's tables
// and connects the modules' tokenizers and output. What the user is to be
// told about modules left out is in ModuleList().Notices(): the front ends
// show it.
void LoadModules();
// The modules of one directory, as LoadModules loads them: none from a
// directory that others can write, none that another user owns or others
// can write, none that crashed the program when they were last loaded.
void LoadModuleDirectory(const std::string& directory);
// Appends the saved variables to the interpreter's variable table.
void LoadSavedVariables();

// The window-free start-up: the steps above in their order.
void StartCore(const TWorkAreaSource& workArea = nullptr);

}  // namespace quenmark
