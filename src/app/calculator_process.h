#pragma once

#include <memory>
#include <string>

#include "app/module_folders.h"
#include "app/settings.h"
#include "base/context.h"
#include "definitions/language_list.h"
#include "definitions/profile_cache.h"
#include "expression/interpreter.h"
#include "expression/module_tokenizer.h"
#include "vm/module_list.h"

namespace quenmark {

class TModuleLoader;

// The objects of one run of a program, made and owned here and handed by
// the program's main to whoever needs them. The start-up steps below make
// the rest in this order: settings, languages, interpreter, modules, saved
// variables.
//
// The one context of the run (base/context.h) lives here and goes to
// everything below: its messages are the language list's (the chosen
// language's catalogue), its separators those of the user's LC_NUMERIC
// locale, its store the one cache of definition files that every reader
// and writer shares, and it names the settings file. Nothing in the core
// keeps such state of its own; the module output callback's list
// (app/module_output.h) is the one global left, as the modules' C ABI
// passes no context.
//
// Destroying the object unloads the modules: a program keeps it until the
// process ends (see each main).
class TCalculatorProcess {
public:
    // Makes the context and the settings with their defaults, unread.
    // settingsFileName replaces the usual settings file when not empty; the
    // work area gives the default window placements.
    explicit TCalculatorProcess(const std::string& settingsFileName = {}, const TWorkAreaSource& workArea = nullptr);
    TCalculatorProcess(const TCalculatorProcess&) = delete;
    TCalculatorProcess& operator=(const TCalculatorProcess&) = delete;
    ~TCalculatorProcess();

    TCCContext& Context() { return FContext; }
    TSettings& Settings() { return *FSettings; }
    TCCLanguageList& LanguageList() { return FLanguages; }
    // Made by CreateInterpreter; use none of it before.
    TCCInterpreter& Interpreter() { return *FInterpreter; }
    TVMModuleList& ModuleList() { return FModules; }

    // Loads the settings file.
    void LoadSettings();
    // Gathers the languages and puts the chosen one in force: the context's
    // messages are the list's.
    void LoadLanguages();
    void CreateInterpreter();
    // The folders modules load from, in order: ModuleFolders(ProgramDirectory())
    // unless set otherwise before LoadModules.
    const std::vector<TModuleFolder>& ModuleFolderList() const { return FModuleFolders; }
    void SetModuleFolderList(std::vector<TModuleFolder> folders) { FModuleFolders = std::move(folders); }
    // The cache folder of the module index and the crash records:
    // QuarantineDirectory() unless set otherwise before the modules load.
    void SetModuleCacheDirectory(std::string directory) { FModuleCacheDirectory = std::move(directory); }
    // Loads the modules of every folder of the list into the interpreter's
    // tables and connects the modules' tokenizers and output (see
    // app/module_loader.h for which modules are left out). What the user is
    // to be told about modules left out is in ModuleList().Notices(): the
    // front ends show it.
    void LoadModules();
    // The same, but a module the index knows is loaded only when a line
    // first needs it; "@MOD", "@FNC", "@VAR" and completion are served from
    // the index meanwhile.
    void LoadModulesOnDemand();
    // Appends the saved variables to the interpreter's variable table.
    void LoadSavedVariables();

    // The window-free start-up: the steps above in their order, the
    // modules loaded on demand.
    void StartCore();

private:
    void ConnectModules();

    TProfileCache FDefinitionFiles;
    TCCLanguageList FLanguages;
    TCCContext FContext;
    std::unique_ptr<TSettings> FSettings;
    std::vector<TModuleFolder> FModuleFolders;
    std::string FModuleCacheDirectory;
    // The interpreter goes before the modules it calls into.
    TVMModuleList FModules;
    std::unique_ptr<TModuleLoader> FModuleLoader;
    std::unique_ptr<TCCModuleTokenizer> FModuleTokenizer;
    std::unique_ptr<TCCInterpreter> FInterpreter;
};

}  // namespace quenmark
