#include "app/calculator_process.h"
#include "app/unit_expression.h"

#include "app/module_output.h"
#include "app/module_quarantine.h"
#include "app/saved_variables.h"
#include "app/settings_file.h"
#include "definitions/language.h"
#include "platform/directory_trust.h"
#include "platform/file_listing.h"
#include "platform/locale_numeric.h"
#include "platform/program_directory.h"
#include "platform/user_language.h"

namespace quenmark {

// The settings of this user are read from the file beside the program while
// the one in the user's folder does not exist yet; a settings file of the
// caller's choice is read itself.
TCalculatorProcess::TCalculatorProcess(const std::string& settingsFileName, const TWorkAreaSource& workArea)
    : FContext(ReadLocaleSeparators()) {
    FContext.SetMessages(&FLanguages);
    FContext.SetFiles(&FDefinitionFiles);
    FContext.SetSettingsFileName(settingsFileName.empty() ? GetSettingsFileName(ProgramDirectory())
                                                          : settingsFileName);
    FSettings = std::make_unique<TSettings>(FContext, FContext.SettingsFileName(), workArea);
    FSettings->ReadFrom(settingsFileName.empty()
                            ? SettingsSourceFileName(FContext, FSettings->FileName(), ProgramDirectory())
                            : settingsFileName);
}

// The modules' output lines are the interpreter's, which goes first.
TCalculatorProcess::~TCalculatorProcess() {
    if (FInterpreter && ModuleOutputLines() == &FInterpreter->OutputLines()) SetModuleOutputLines(nullptr);
}

void TCalculatorProcess::LoadSettings() { FSettings->Load(); }

void TCalculatorProcess::LoadLanguages() {
    FLanguages.Gather(FContext, ProgramDirectory());
    FLanguages.Select(&FLanguages.Choose(FSettings->Language, UserDefaultLangID()));
}

void TCalculatorProcess::CreateInterpreter() {
    if (FInterpreter) return;
    FInterpreter = std::make_unique<TCCInterpreter>(FContext);
    RegisterUnitConversion(*FInterpreter, FLanguages);
}

void TCalculatorProcess::LoadModules() {
    SetModuleOutputLines(&FInterpreter->OutputLines());
    LoadModuleDirectory(ProgramDirectory());
    FInterpreter->SetModuleList(&FModules);
    if (!FModuleTokenizer) FModuleTokenizer = std::make_unique<TCCModuleTokenizer>(FModules);
    FInterpreter->Tokenizer().SetModuleTokenSource(FModuleTokenizer.get());
}

// Whoever can write the folder could put code there that runs as this user.
void TCalculatorProcess::LoadModuleDirectory(const std::string& directory) {
    const std::vector<std::string> fileNames = ListFilesWithExtension(directory, ".vmx");
    if (fileNames.empty()) return;
    if (!IsTrustedDirectory(directory)) return FModules.AddNotice(FContext.GetTextWith("QEN430", directory));
    const TModuleQuarantine quarantine(QuarantineDirectory());
    for (const std::string& fileName : fileNames) LoadModuleFile(quarantine, directory, fileName);
}

// Loads one module unless it belongs to another user, others can write it,
// or it crashed the program when it was last loaded; a crash while it
// loads now is recorded in the quarantine.
void TCalculatorProcess::LoadModuleFile(const TModuleQuarantine& quarantine, const std::string& directory,
                                        const std::string& fileName) {
    const std::string path = TVMModule::PathOf(directory, fileName);
    if (!IsTrustedFile(path)) return FModules.AddNotice(FContext.GetTextWith("QEN431", fileName));
    const std::optional<TModuleFileStamp> stamp = StampOfFile(path);
    if (stamp && quarantine.Holds(*stamp)) return FModules.AddNotice(FContext.GetTextWith("QEN432", fileName));
    if (stamp) quarantine.Arm(*stamp);
    FModules.LoadFile(FContext, directory, fileName, FInterpreter->Variables(), FInterpreter->Callables(),
                      ModuleOutput);
    TModuleQuarantine::Disarm();
}

void TCalculatorProcess::LoadSavedVariables() { ReadVariablesSection(*FSettings, FInterpreter->Variables()); }

void TCalculatorProcess::StartCore() {
    LoadSettings();
    LoadLanguages();
    CreateInterpreter();
    LoadModules();
    LoadSavedVariables();
}

}  // namespace quenmark
