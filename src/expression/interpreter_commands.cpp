// The "@" commands of the interpreter.
#include <string_view>

#include "expression/interpreter.h"
#include "base/exception.h"
#include "expression/command_words.h"
#include "expression/result_format.h"
#include "vm/module_list.h"

namespace quenmark {

void TCCInterpreter::Fail(const char* code) const { throw EINError(FContext.GetText(code)); }

void TCCInterpreter::Fail(const char* code, std::string_view argument) const {
    throw EINError(FContext.GetTextWith(code, std::string(argument)));
}

void TCCInterpreter::ExpectNoArgument(const TokenPtr& argument) const {
    if (argument) Fail("INT110");
}

void TCCInterpreter::ExpectOneArgument(const TokenPtr& argument, const TokenPtr& extra) const {
    if (!argument) Fail("INT111");
    if (extra) Fail("INT110");
}

// A switch without a default: an action without its case fails the build.
#pragma GCC diagnostic error "-Wswitch"
void TCCInterpreter::ExecuteCommand(TokenPtr word, TokenPtr argument, TokenPtr extra) {
    if (!word) return CommandHelp();
    const TCommandWord* command = FindCommandWord(word->UpperText());
    if (!command) Fail("INT110");
    if (command->TakesArgument) ExpectOneArgument(argument, extra);
    else ExpectNoArgument(argument);
    switch (command->Action) {
    case TCommandAction::Debug: return CommandDebug();
    case TCommandAction::ListVariables: return CommandListVariables();
    case TCommandAction::ListFunctions: return CommandListFunctions();
    case TCommandAction::DeleteVariable: return CommandDeleteVariable(*argument);
    case TCommandAction::DeleteAllVariables: return CommandDeleteAllVariables();
    case TCommandAction::Protect: return CommandProtect(*argument, true);
    case TCommandAction::Desert: return CommandProtect(*argument, false);
    case TCommandAction::SetOutputMode: return CommandOutputMode(command->Mode);
    case TCommandAction::Format: return CommandFormat(*argument);
    case TCommandAction::Status: return CommandStatus();
    case TCommandAction::ListModules: return CommandListModules();
    }
    Fail("INT110");
}

void TCCInterpreter::CommandHelp() {
    for (const char* code : CommandHelpCodes()) FOutputLines.push_back(FContext.GetText(code));
}

void TCCInterpreter::CommandDebug() {
    FDebugMode = !FDebugMode;
    FOutputLines.push_back(FContext.GetText(FDebugMode ? "INT121" : "INT122"));
}

void TCCInterpreter::CommandListVariables() {
    FOutputLines.push_back(FContext.GetText("INT151"));
    for (size_t i = 0; i < FVariables.Count(); ++i) {
        const TVMVariable& variable = FVariables[i];
        std::string line = variable.Name + " = " + QuotedOrPlainText(variable.Value, FContext.Separators());
        if (variable.IsConstant) line += "  (" + FContext.GetText("INT160") + ")";
        else if (variable.IsProtected) line += "  (" + FContext.GetText("INT161") + ")";
        FOutputLines.push_back(std::move(line));
    }
}

// The user's functions first, each as it was defined, then those of the modules.
void TCCInterpreter::CommandListFunctions() {
    FOutputLines.push_back(FContext.GetText("INT152"));
    for (size_t i = 0; i < FUserFunctions.Count(); ++i) FOutputLines.push_back(FUserFunctions[i].Definition);
    for (size_t i = 0; i < FCallables.Count(); ++i)
        FOutputLines.push_back(FCallables[i].Name + "\t : " + FCallables[i].Description);
    for (size_t i = 0; i < FBuiltins.Count(); ++i)
        FOutputLines.push_back(FBuiltins[i].Name + "\t : " + FBuiltins[i].Description);
}

// The variable named by the argument, which must exist and not be a constant.
TVMVariable& TCCInterpreter::FindChangeableVariable(const TCCToken& argument) {
    TVMVariable* variable = FVariables.Find(argument.Text());
    if (!variable) Fail("INT124", argument.Text());
    if (variable->IsConstant) Fail("INT125", variable->Name);
    return *variable;
}

// A name that is no variable may be a function of the user's.
void TCCInterpreter::CommandDeleteVariable(const TCCToken& argument) {
    if (!FVariables.Find(argument.Text())) {
        if (const TVMUserFunction* function = FUserFunctions.Find(argument.Text())) {
            const std::string name = function->Name;
            FUserFunctions.Remove(name);
            FOutputLines.push_back(FContext.GetTextWith("INT186", name));
            return;
        }
    }
    TVMVariable& variable = FindChangeableVariable(argument);
    if (variable.IsProtected) Fail("INT126", variable.Name);
    const std::string name = variable.Name;
    FVariables.Remove(&variable);
    FOutputLines.push_back(FContext.GetTextWith("INT127", name));
}

void TCCInterpreter::CommandDeleteAllVariables() {
    for (size_t i = 0; i < FVariables.Count();) {
        const TVMVariable& variable = FVariables[i];
        if (variable.IsConstant || variable.IsProtected) ++i;
        else FVariables.Delete(i);
    }
    FOutputLines.push_back(FContext.GetText("INT128"));
}

void TCCInterpreter::CommandProtect(const TCCToken& argument, bool protect) {
    TVMVariable& variable = FindChangeableVariable(argument);
    if (protect && variable.IsProtected) Fail("INT131", variable.Name);
    if (!protect && !variable.IsProtected) Fail("INT132", variable.Name);
    variable.IsProtected = protect;
    FVariables.NoteChanged(variable);
    FOutputLines.push_back(FContext.GetTextWith(protect ? "INT129" : "INT130", variable.Name));
}

void TCCInterpreter::CommandOutputMode(OutputMode mode) {
    FOutputMode = mode;
    AddModeLine();
}

void TCCInterpreter::CommandFormat(const TCCToken& argument) {
    std::string mask;
    if (argument.Is(TokenKind::String)) {
        mask = argument.Value.ToText(FContext.Separators());
    } else {
        if (!argument.Is(TokenKind::Identifier)) Fail("INT112");
        const TVMVariable* variable = FVariables.Find(argument.Text());
        if (!variable) Fail("INT124", argument.Text());
        if (!variable->Value.IsString()) Fail("INT133", argument.Text());
        mask = variable->Value.AsString();
    }
    FFormatMask = std::move(mask);
    AddFormatLine();
}

void TCCInterpreter::CommandStatus() {
    FOutputLines.push_back(FContext.GetText("INT150"));
    FOutputLines.push_back(FContext.GetText(FDebugMode ? "INT121" : "INT122"));
    AddModeLine();
    AddFormatLine();
}

// The modules, loaded or waiting to be needed, each with the name it gives
// itself, then what the user was told about the modules left out.
void TCCInterpreter::CommandListModules() {
    const std::vector<TListedModule> modules = FModules ? FModules->Listing() : std::vector<TListedModule>();
    FOutputLines.push_back(FContext.GetText(modules.empty() ? "QEN434" : "QEN433"));
    for (const TListedModule& module : modules)
        FOutputLines.push_back("  " + module.FileName + (module.Named ? "\t : " + module.Name : ""));
    if (FModules)
        for (const std::string& notice : FModules->Notices()) FOutputLines.push_back(notice);
}

void TCCInterpreter::AddModeLine() {
    static const char* const ModeCodes[] = {"INT140", "INT141", "INT142", "INT143"};
    FOutputLines.push_back(FContext.GetText(ModeCodes[static_cast<int>(FOutputMode)]));
}

void TCCInterpreter::AddFormatLine() {
    FOutputLines.push_back(FFormatMask.empty() ? FContext.GetText("INT171")
                                               : FContext.GetTextWith("INT170", FFormatMask));
}

}  // namespace quenmark
