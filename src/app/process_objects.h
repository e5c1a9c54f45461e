#pragma once

#include "app/settings.h"
#include "definitions/language_list.h"
#include "expression/interpreter.h"
#include "vm/module_list.h"

namespace quenmark {

// The process-wide objects of a run. Each is created once by the start-up
// steps below, in this order, and lives until the process ends; none is
// freed one by one, so modules stay loaded to the very end.
TSettings& Settings();
TCCLanguageList& LanguageList();
TCCInterpreter& Interpreter();
TVMModuleList& ModuleList();

// Creates the settings with their defaults and loads the settings file.
void LoadSettings(const TWorkAreaSource& workArea = nullptr);
// Gathers the languages and makes the chosen one current, with its messages.
void LoadLanguages();
// Creates the interpreter.
void CreateInterpreter();
// Loads every module of the program directory into the interpreter's tables
// and connects the modules' tokenizers and output.
void LoadModules();
// Appends the saved variables to the interpreter's variable table.
void LoadSavedVariables();

// The window-free start-up: the steps above in their order.
void StartCore(const TWorkAreaSource& workArea = nullptr);

}  // namespace quenmark
