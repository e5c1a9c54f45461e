#include "app/process_objects.h"

#include "app/module_output.h"
#include "app/module_quarantine.h"
#include "app/saved_variables.h"
#include "app/settings_file.h"
#include "definitions/language.h"
#include "definitions/profile_cache.h"
#include "expression/module_tokenizer.h"
#include "platform/directory_trust.h"
#include "platform/file_listing.h"
#include "platform/locale_numeric.h"
#include "platform/program_directory.h"
#include "platform/user_language.h"

namespace quenmark {

namespace {

// Created on demand and deliberately never destroyed: the run ends with
// them alive, and module code must stay mapped while anything may call it.
TProfileCache* definitionFiles = nullptr;
TCCContext* context = nullptr;
TSettings* settings = nullptr;
TCCLanguageList* languages = nullptr;
TCCInterpreter* interpreter = nullptr;
TVMModuleList* modules = nullptr;
TCCModuleTokenizer* moduleTokenizer = nullptr;

// The context of the run: the language list's messages, the locale's
// separators, the one cache of definition files and the settings
// location, computed once here.
TCCContext* CreateContext() {
    auto* created = new TCCContext(ReadLocaleSeparators());
    created->SetMessages(&LanguageList());
    definitionFiles = new TProfileCache();
    created->SetFiles(definitionFiles);
    created->SetSettingsFileName(GetSettingsFileName(ProgramDirectory()));
    return created;
}

// The settings of this user, read from the file beside the program while
// the one in the user's folder does not exist yet.
TSettings* CreateSettings(const TWorkAreaSource& workArea) {
    auto* created = new TSettings(Context(), Context().SettingsFileName(), workArea);
    created->ReadFrom(SettingsSourceFileName(Context(), created->FileName(), ProgramDirectory()));
    return created;
}

// Loads one module unless it belongs to another user, others can write it,
// or it crashed the program when it was last loaded; a crash while it
// loads now is recorded in the quarantine.
void LoadModuleFile(TVMModuleList& list, TCCInterpreter& calculator, const TModuleQuarantine& quarantine,
                    const std::string& directory, const std::string& fileName) {
    const std::string path = TVMModule::PathOf(directory, fileName);
    if (!IsTrustedFile(path)) return list.AddNotice(Context().GetTextWith("QEN431", fileName));
    const std::optional<TModuleFileStamp> stamp = StampOfFile(path);
    if (stamp && quarantine.Holds(*stamp)) return list.AddNotice(Context().GetTextWith("QEN432", fileName));
    if (stamp) quarantine.Arm(*stamp);
    list.LoadFile(Context(), directory, fileName, calculator.Variables(), calculator.Callables(), ModuleOutput);
    TModuleQuarantine::Disarm();
}

}  // namespace

void LoadModuleDirectory(const std::string& directory) {
    TCCInterpreter& calculator = Interpreter();
    TVMModuleList& list = ModuleList();
    const std::vector<std::string> fileNames = ListFilesWithExtension(directory, ".vmx");
    if (fileNames.empty()) return;
    // Whoever can write the folder could put code there that runs as this
    // user.
    if (!IsTrustedDirectory(directory)) return list.AddNotice(Context().GetTextWith("QEN430", directory));
    const TModuleQuarantine quarantine(QuarantineDirectory());
    for (const std::string& fileName : fileNames) LoadModuleFile(list, calculator, quarantine, directory, fileName);
}

TCCContext& Context() {
    if (!context) context = CreateContext();
    return *context;
}

TSettings& Settings() {
    if (!settings) settings = CreateSettings(nullptr);
    return *settings;
}

TCCLanguageList& LanguageList() {
    if (!languages) languages = new TCCLanguageList();
    return *languages;
}

TCCInterpreter& Interpreter() {
    if (!interpreter) interpreter = new TCCInterpreter(Context());
    return *interpreter;
}

TVMModuleList& ModuleList() {
    if (!modules) modules = new TVMModuleList();
    return *modules;
}

void LoadSettings(const TWorkAreaSource& workArea) {
    if (!settings) settings = CreateSettings(workArea);
    settings->Load();
}

void LoadLanguages() {
    TCCLanguageList& list = LanguageList();
    list.Gather(Context(), ProgramDirectory());
    list.Select(&list.Choose(Settings().Language, UserDefaultLangID()));
}

void CreateInterpreter() { Interpreter(); }

void LoadModules() {
    TCCInterpreter& calculator = Interpreter();
    SetModuleOutputLines(&calculator.OutputLines());
    LoadModuleDirectory(ProgramDirectory());
    calculator.SetModuleList(&ModuleList());
    if (!moduleTokenizer) moduleTokenizer = new TCCModuleTokenizer(ModuleList());
    calculator.Tokenizer().SetModuleTokenSource(moduleTokenizer);
}

void LoadSavedVariables() { ReadVariablesSection(Settings(), Interpreter().Variables()); }

void StartCore(const TWorkAreaSource& workArea) {
    LoadSettings(workArea);
    LoadLanguages();
    CreateInterpreter();
    LoadModules();
    LoadSavedVariables();
}

}  // namespace quenmark
