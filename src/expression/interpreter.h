#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/context.h"
#include "expression/expression_parser.h"
#include "expression/output_mode.h"
#include "expression/string_tokenizer.h"
#include "vm/cal_vm.h"
#include "vm/callable_list.h"
#include "vm/command_list.h"
#include "vm/line_interrupt.h"
#include "vm/user_function_list.h"
#include "vm/variable_list.h"

namespace quenmark {

class TVMModuleList;

// Takes one input line at a time: runs an "@" command, or compiles, runs and
// displays an expression. Everything to show goes to OutputLines; errors of
// the line leave as EINError.
//
// The interpreter works in a context (base/context.h): its messages for every
// error and every line it writes, its separators for every number shown or
// read from a String. It hands the context to its tokenizer, parser and
// machine, which it owns with the tables.
class TCCInterpreter {
public:
    // With a default context of its own: no messages, "." and ",".
    TCCInterpreter();
    // In the given context, which must outlive the interpreter.
    explicit TCCInterpreter(const TCCContext& context);
    TCCInterpreter(const TCCInterpreter&) = delete;
    TCCInterpreter& operator=(const TCCInterpreter&) = delete;

    static std::string GetLevel() { return "Interpreter Level 1A"; }

    // A line that runs out of memory (or would build a String beyond the
    // machine's limit) fails with INT071 and leaves the variables as they
    // were before it: values it wrote are put back, variables it created
    // are removed. Returns false when the expression failed as it ran: its
    // error text is then the last output line.
    bool ProcessLine(const std::string& line);
    bool CommandProcess();
    void ExpressionProcess();
    // Makes the value the line's result and its result line.
    void ShowResult(Variant value);

    // Defines the function of a definition line ("f(x) = x * x") as typing
    // it would, without output; throws EINError when the line is no
    // definition (INT001) or does not compile.
    void DefineFunction(const std::string& definition);

    // The decimal form of a value with the current format mask.
    std::string FormatDecimal(const Variant& value) const;

    std::vector<std::string>& OutputLines() { return FOutputLines; }
    const Variant& LastResult() const { return FLastResult; }
    // The last expression's result line as the log shows it; empty when
    // the last line was no expression or produced no result.
    const std::string& LastResultLine() const { return FLastResultLine; }
    bool LastWasExpression() const { return FLastWasExpression; }
    bool DebugMode() const { return FDebugMode; }
    OutputMode GetOutputMode() const { return FOutputMode; }
    const std::string& FormatMask() const { return FFormatMask; }
    // Sets what "@FORMAT" and a mode command set, without their output
    // lines: for a restore that nobody sees, no message text is built.
    void SetFormat(std::string mask, OutputMode mode) {
        FFormatMask = std::move(mask);
        FOutputMode = mode;
    }
    TVMVariableList& Variables() { return FVariables; }
    TVMCallableList& Callables() { return FCallables; }
    TVMUserFunctionList& UserFunctions() { return FUserFunctions; }
    // The program's own functions; the layer that has what they need
    // registers them (CONVERT, app/unit_expression.h).
    TVMBuiltinFunctionList& BuiltinFunctions() { return FBuiltins; }
    const TVMBuiltinFunctionList& BuiltinFunctions() const { return FBuiltins; }
    const TVMUserFunctionList& UserFunctions() const { return FUserFunctions; }
    TCCStringTokenizer& Tokenizer() { return FTokenizer; }
    const TCCContext& Context() const { return FContext; }
    // The request to abandon this interpreter's running line, for another
    // thread or a signal handler to set; each interpreter has its own.
    TLineInterrupt& LineInterrupt() { return FVM.Interrupt(); }
    // The modules "@MOD" lists, with the notices about those left out; it
    // lists none until they are set. The list must outlive the interpreter.
    void SetModuleList(const TVMModuleList* modules) { FModules = modules; }

private:
    // The given context, or the one it owns when there is none.
    TCCInterpreter(const TCCContext* context, std::unique_ptr<TCCContext> ownContext);

    [[noreturn]] void Fail(const char* code) const;
    [[noreturn]] void Fail(const char* code, std::string_view argument) const;
    void ExpectNoArgument(const TokenPtr& argument) const;
    void ExpectOneArgument(const TokenPtr& argument, const TokenPtr& extra) const;
    void InterpretLine(const std::string& line);
    [[noreturn]] void AbandonLine(size_t variableCount);

    // Commands: the words of expression/command_words.h and what they run.
    void ExecuteCommand(TokenPtr word, TokenPtr argument, TokenPtr extra);
    void CommandHelp();
    void CommandDebug();
    void CommandListVariables();
    void CommandListFunctions();
    void DefineFunctionOfLine();
    void CommandDeleteVariable(const TCCToken& argument);
    void CommandDeleteAllVariables();
    void CommandProtect(const TCCToken& argument, bool protect);
    void CommandOutputMode(OutputMode mode);
    void CommandFormat(const TCCToken& argument);
    void CommandStatus();
    void CommandListModules();
    TVMVariable& FindChangeableVariable(const TCCToken& argument);
    void AddModeLine();
    void AddFormatLine();

    std::string ResultLine(const Variant& value) const;
    std::string DecimalResultLine(const Variant& value) const;

    void Trace(const char* line) {
        if (FDebugMode) FOutputLines.emplace_back(line);
    }

    // The default context, when none was given; FContext refers to it.
    std::unique_ptr<TCCContext> FOwnContext;
    const TCCContext& FContext;
    TVMCommandList FCommandList;
    TVMVariableList FVariables{32};
    TVMCallableList FCallables{32};
    TVMUserFunctionList FUserFunctions;
    TVMBuiltinFunctionList FBuiltins;
    TCCStringTokenizer FTokenizer;
    // Made before the parser, which checks the machine's interrupt.
    TCalVM FVM;
    TCCExpressionParser FParser;
    std::vector<std::string> FOutputLines;

    Variant FLastResult{int32_t{0}};
    std::string FLastResultLine;
    // The result of the last expression that gave one, which a line that
    // starts with a binary operator continues; kept across other lines.
    std::optional<Variant> FContinued;
    bool FLastWasExpression = false;
    bool FRunFailed = false;
    bool FDebugMode = false;
    OutputMode FOutputMode = OutputMode::DEC;
    std::string FFormatMask;
    const TVMModuleList* FModules = nullptr;
};

}  // namespace quenmark
