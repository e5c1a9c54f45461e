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

class TModuleQuarantine;

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
    // Loads the modules of every folder of the list into the interpreter's
    // tables and connects the modules' tokenizers and output. What the user
    // is to be told about modules left out is in ModuleList().Notices(): the
    // front ends show it.
    void LoadModules();
    // The modules of one folder, as LoadModules loads them: none from a
    // folder that others can write (or, for the user's folder, that is not
    // the user's), none that another user owns or others can write, none
    // that crashed the program when they were last loaded, none whose file
    // name a module of an earlier folder has already taken (taken lists
    // them and is extended).
    void LoadModuleFolder(const TModuleFolder& folder, std::vector<std::string>& taken);
    // Appends the saved variables to the interpreter's variable table.
    void LoadSavedVariables();

    // The window-free start-up: the steps above in their order.
    void StartCore();

private:
    void LoadModuleFile(const TModuleQuarantine& quarantine, const std::string& directory,
                        const std::string& fileName);

    TProfileCache FDefinitionFiles;
    TCCLanguageList FLanguages;
    TCCContext FContext;
    std::unique_ptr<TSettings> FSettings;
    std::vector<TModuleFolder> FModuleFolders;
    // The interpreter goes before the modules it calls into.
    TVMModuleList FModules;
    std::unique_ptr<TCCModuleTokenizer> FModuleTokenizer;
    std::unique_ptr<TCCInterpreter> FInterpreter;
};

}  // namespace quenmark
