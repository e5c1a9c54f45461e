#include "app/calculator_process.h"
#include "app/unit_expression.h"

#include "app/module_output.h"
#include "app/module_loader.h"
#include "app/module_quarantine.h"
#include "app/saved_variables.h"
#include "app/settings_file.h"
#include "definitions/language.h"
#include "platform/installed_layout.h"
#include "platform/locale_numeric.h"
#include "platform/program_directory.h"
#include "platform/user_language.h"

namespace quenmark {

// The settings of this user are read from the file beside the program while
// the one in the user's folder does not exist yet; a settings file of the
// caller's choice is read itself.
TCalculatorProcess::TCalculatorProcess(const std::string& settingsFileName, const TWorkAreaSource& workArea)
    : FContext(ReadLocaleSeparators()), FModuleFolders(ModuleFolders(ShippedModuleDirectory())),
      FModuleCacheDirectory(QuarantineDirectory()) {
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
    FLanguages.Gather(FContext, DataDirectory());
    FLanguages.Select(&FLanguages.Choose(FSettings->Language, UserDefaultLangID()));
}

void TCalculatorProcess::CreateInterpreter() {
    if (FInterpreter) return;
    FInterpreter = std::make_unique<TCCInterpreter>(FContext);
    RegisterUnitConversion(*FInterpreter, FLanguages);
}

void TCalculatorProcess::LoadModules() {
    ConnectModules();
    FModuleLoader->LoadAll(FModuleFolders, FModuleCacheDirectory);
}

void TCalculatorProcess::LoadModulesOnDemand() {
    ConnectModules();
    FModuleLoader->LoadOnDemand(FModuleFolders, FModuleCacheDirectory);
}

void TCalculatorProcess::ConnectModules() {
    SetModuleOutputLines(&FInterpreter->OutputLines());
    if (!FModuleLoader)
        FModuleLoader = std::make_unique<TModuleLoader>(FContext, FModules, FInterpreter->Variables(),
                                                        FInterpreter->Callables());
    FInterpreter->SetModuleList(&FModules);
    if (!FModuleTokenizer) FModuleTokenizer = std::make_unique<TCCModuleTokenizer>(FModules);
    FInterpreter->Tokenizer().SetModuleTokenSource(FModuleTokenizer.get());
}

void TCalculatorProcess::LoadSavedVariables() { ReadVariablesSection(*FSettings, FInterpreter->Variables()); }

void TCalculatorProcess::StartCore() {
    LoadSettings();
    LoadLanguages();
    CreateInterpreter();
    LoadModulesOnDemand();
    LoadSavedVariables();
}

}  // namespace quenmark
