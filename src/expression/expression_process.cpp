// Compiling, running and displaying an expression line.
#include <new>
#include <utility>
#include <stdexcept>

#include "expression/interpreter.h"
#include "expression/result_format.h"
#include "base/exception.h"

namespace quenmark {

namespace {

// Splits digits into groups of a fixed size from the left, one blank apart.
std::string GroupDigits(const std::string& digits, size_t groupSize) {
    std::string grouped;
    for (size_t i = 0; i < digits.size(); i += groupSize) {
        if (i > 0) grouped += ' ';
        grouped += digits.substr(i, groupSize);
    }
    return grouped;
}

}  // namespace

void TCCInterpreter::ExpressionProcess() {
    FCommandList.Clear();
    FVM.ClearMemory();  // the stack and the registers are cleared by Run
    Trace("Enter The Expression Process.");
    FLastResult = Variant(int32_t{0});
    FLastResultLine.clear();
    if (FParser.IsFunctionDefinition()) return DefineFunctionOfLine();
    FLastWasExpression = true;
    Trace("Parse Expression, Create VM-Code...");
    FParser.Compile(FContinued ? &*FContinued : nullptr);
    if (FDebugMode)
        for (const TVMCommand& command : FCommandList)
            FOutputLines.push_back("\t" + CommandText(command, FContext.Separators()));
    Trace("Run...");
    // A line of literals and operators has its value already; the trace of
    // the debug mode shows the code running, so there it always runs.
    if (const Variant* folded = FDebugMode ? nullptr : FParser.FoldedValue()) {
        ShowResult(*folded);
        return;
    }
    try {
        FVM.Run();
    } catch (const EVMError& error) {
        FOutputLines.push_back(error.what());
        FRunFailed = true;
        return;
    } catch (const std::bad_alloc&) {
        throw;  // the line as a whole fails for want of memory
    } catch (const std::length_error&) {
        throw;
    } catch (const std::exception& error) {
        if (FDebugMode) FOutputLines.push_back(std::string("Runtime error : ") + error.what());
        FOutputLines.push_back(FContext.GetText("CVM999"));
        FRunFailed = true;
        return;
    }
    Trace("Result...");
    ShowResult(FVM.Pop());
}

void TCCInterpreter::ShowResult(Variant value) {
    FContinued = value;
    FLastResult = std::move(value);
    FLastResultLine = ResultLine(FLastResult);
    FOutputLines.push_back(FLastResultLine);
}

// The line, a definition, replaces a function of the same name.
void TCCInterpreter::DefineFunctionOfLine() {
    Trace("Define Function...");
    std::string definition(FTokenizer.Line());
    const size_t begin = definition.find_first_not_of(' ');
    definition.erase(0, begin == std::string::npos ? definition.size() : begin);
    definition.erase(definition.find_last_not_of(' ') + 1);
    std::unique_ptr<TVMUserFunction> function = FParser.CompileFunction(std::move(definition));
    if (FDebugMode)
        for (const TVMCommand& command : function->Body)
            FOutputLines.push_back("\t" + CommandText(command, FContext.Separators()));
    const std::string name = function->Name;
    FUserFunctions.Define(std::move(function));
    FOutputLines.push_back(FContext.GetTextWith("INT185", name));
}

void TCCInterpreter::DefineFunction(const std::string& definition) {
    FTokenizer.SetText(definition);
    if (!FParser.IsFunctionDefinition()) Fail("INT001");
    FUserFunctions.Define(FParser.CompileFunction(definition));
}

std::string TCCInterpreter::FormatDecimal(const Variant& value) const {
    return quenmark::FormatDecimal(value, FFormatMask, FContext.Separators());
}

std::string TCCInterpreter::ResultLine(const Variant& value) const {
    if (!value.IsNumber()) return QuotedOrPlainText(value, FContext.Separators());
    switch (FOutputMode) {
    case OutputMode::DEC: return DecimalResultLine(value);
    case OutputMode::HEX: return "HEX : " + GroupDigits(FormatHex(value, FContext).substr(2), 2);
    case OutputMode::OCT: return "OCT : " + FormatOct(value, FContext);
    case OutputMode::BIN: return "BIN : " + GroupDigits(FormatBin(value, FContext).substr(2), 4);
    }
    return {};
}

// The decimal form, followed by the radix forms of the literals the line used.
std::string TCCInterpreter::DecimalResultLine(const Variant& value) const {
    const TokenKinds seen = FTokenizer.SeenKinds();
    std::string suffix;
    try {
        if (seen.Has(TokenKind::Hex)) suffix += FormatHex(value, FContext) + ", ";
        if (seen.Has(TokenKind::Oct)) suffix += FormatOct(value, FContext) + ", ";
        if (seen.Has(TokenKind::Bin)) suffix += FormatBin(value, FContext) + ", ";
    } catch (const EINError&) {
        suffix.clear();
    }
    if (!suffix.empty()) suffix = "  (" + suffix.substr(0, suffix.size() - 2) + ")";
    return FormatDecimal(value) + suffix;
}

}  // namespace quenmark
