// The "@" commands of the interpreter.
#include <string_view>

#include "base/text_lookup.h"
#include "expression/interpreter.h"
#include "base/exception.h"

namespace quenmark {

namespace {

[[noreturn]] void Fail(const char* code) { throw EINError(GetText(code)); }
[[noreturn]] void Fail(const char* code, const std::string& argument) {
    throw EINError(GetTextWith(code, argument));
}

void ExpectNoArgument(const TokenPtr& argument) {
    if (argument) Fail("INT110");
}

void ExpectOneArgument(const TokenPtr& argument, const TokenPtr& extra) {
    if (!argument) Fail("INT111");
    if (extra) Fail("INT110");
}

std::string QuotedOrPlain(const Variant& value) {
    if (value.IsString()) return "\"" + value.AsString() + "\"";
    return value.ToText();
}

}  // namespace

void TCCInterpreter::ExecuteCommand(TokenPtr word, TokenPtr argument, TokenPtr extra) {
    if (!word) return CommandHelp();
    const std::string& name = word->UpperText();
    if (name == "DEBUG") { ExpectNoArgument(argument); return CommandDebug(); }
    if (name == "VAR" || name == "VARIABLES") { ExpectNoArgument(argument); return CommandListVariables(); }
    if (name == "FNC" || name == "FUNCTIONS") { ExpectNoArgument(argument); return CommandListFunctions(); }
    if (name == "DELVAR") { ExpectOneArgument(argument, extra); return CommandDeleteVariable(*argument); }
    if (name == "DELVARALL") { ExpectNoArgument(argument); return CommandDeleteAllVariables(); }
    if (name == "PROTECT") { ExpectOneArgument(argument, extra); return CommandProtect(*argument, true); }
    if (name == "DESERT") { ExpectOneArgument(argument, extra); return CommandProtect(*argument, false); }
    if (name == "DEC") { ExpectNoArgument(argument); return CommandOutputMode(OutputMode::DEC); }
    if (name == "HEX") { ExpectNoArgument(argument); return CommandOutputMode(OutputMode::HEX); }
    if (name == "OCT") { ExpectNoArgument(argument); return CommandOutputMode(OutputMode::OCT); }
    if (name == "BIN") { ExpectNoArgument(argument); return CommandOutputMode(OutputMode::BIN); }
    if (name == "FORMAT") { ExpectOneArgument(argument, extra); return CommandFormat(*argument); }
    if (name == "STAT" || name == "STATUS") { ExpectNoArgument(argument); return CommandStatus(); }
    Fail("INT110");
}

void TCCInterpreter::CommandHelp() {
    for (const char* code : {"INT101", "INT102", "INT103", "INT104", "INT105", "INT106"})
        FOutputLines.push_back(GetText(code));
}

void TCCInterpreter::CommandDebug() {
    FDebugMode = !FDebugMode;
    FOutputLines.push_back(GetText(FDebugMode ? "INT121" : "INT122"));
}

void TCCInterpreter::CommandListVariables() {
    FOutputLines.push_back(GetText("INT151"));
    for (size_t i = 0; i < FVariables.Count(); ++i) {
        const TVMVariable& variable = FVariables[i];
        std::string line = variable.Name + " = " + QuotedOrPlain(variable.Value);
        if (variable.IsConstant) line += "  (" + GetText("INT160") + ")";
        else if (variable.IsProtected) line += "  (" + GetText("INT161") + ")";
        FOutputLines.push_back(std::move(line));
    }
}

void TCCInterpreter::CommandListFunctions() {
    FOutputLines.push_back(GetText("INT152"));
    for (size_t i = 0; i < FCallables.Count(); ++i)
        FOutputLines.push_back(FCallables[i].Name + "\t : " + FCallables[i].Description);
}

// The variable named by the argument, which must exist and not be a constant.
TVMVariable& TCCInterpreter::FindChangeableVariable(const TCCToken& argument) {
    TVMVariable* variable = FVariables.Find(argument.Text());
    if (!variable) Fail("INT124", argument.Text());
    if (variable->IsConstant) Fail("INT125", variable->Name);
    return *variable;
}

void TCCInterpreter::CommandDeleteVariable(const TCCToken& argument) {
    TVMVariable& variable = FindChangeableVariable(argument);
    if (variable.IsProtected) Fail("INT126", variable.Name);
    const std::string name = variable.Name;
    FVariables.Remove(&variable);
    FOutputLines.push_back(GetTextWith("INT127", name));
}

void TCCInterpreter::CommandDeleteAllVariables() {
    for (size_t i = 0; i < FVariables.Count();) {
        const TVMVariable& variable = FVariables[i];
        if (variable.IsConstant || variable.IsProtected) ++i;
        else FVariables.Delete(i);
    }
    FOutputLines.push_back(GetText("INT128"));
}

void TCCInterpreter::CommandProtect(const TCCToken& argument, bool protect) {
    TVMVariable& variable = FindChangeableVariable(argument);
    if (protect && variable.IsProtected) Fail("INT131", variable.Name);
    if (!protect && !variable.IsProtected) Fail("INT132", variable.Name);
    variable.IsProtected = protect;
    FVariables.NoteChanged(variable);
    FOutputLines.push_back(GetTextWith(protect ? "INT129" : "INT130", variable.Name));
}

void TCCInterpreter::CommandOutputMode(OutputMode mode) {
    FOutputMode = mode;
    AddModeLine();
}

void TCCInterpreter::CommandFormat(const TCCToken& argument) {
    std::string mask;
    if (argument.Is(TokenKind::String)) {
        mask = argument.Value.ToText();
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
    FOutputLines.push_back(GetText("INT150"));
    FOutputLines.push_back(GetText(FDebugMode ? "INT121" : "INT122"));
    AddModeLine();
    AddFormatLine();
}

void TCCInterpreter::AddModeLine() {
    static const char* const ModeCodes[] = {"INT140", "INT141", "INT142", "INT143"};
    FOutputLines.push_back(GetText(ModeCodes[static_cast<int>(FOutputMode)]));
}

void TCCInterpreter::AddFormatLine() {
    FOutputLines.push_back(FFormatMask.empty() ? GetText("INT171") : GetTextWith("INT170", FFormatMask));
}

}  // namespace quenmark
