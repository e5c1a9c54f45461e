#include "expression/interpreter.h"

#include <new>
#include <stdexcept>

#include "base/definition_files.h"
#include "base/exception.h"

namespace quenmark {

TCCInterpreter::TCCInterpreter() : TCCInterpreter(nullptr, std::make_unique<TCCContext>()) {}

TCCInterpreter::TCCInterpreter(const TCCContext& context) : TCCInterpreter(&context, nullptr) {}

TCCInterpreter::TCCInterpreter(const TCCContext* context, std::unique_ptr<TCCContext> ownContext)
    : FOwnContext(std::move(ownContext)),
      FContext(context ? *context : *FOwnContext),
      FTokenizer(FContext),
      FVM(FContext, FVariables, FCommandList, FCallables),
      FParser(FTokenizer, FCommandList, FCallables, FVariables, FVM.Interrupt()) {
    FVM.SetUserFunctions(&FUserFunctions);
    FParser.SetUserFunctions(&FUserFunctions);
    FVM.SetBuiltinFunctions(&FBuiltins);
    FParser.SetBuiltinFunctions(&FBuiltins);
}

bool TCCInterpreter::ProcessLine(const std::string& line) {
    if (TDefinitionFiles* files = FContext.Files()) files->Revalidate();
    const size_t variableCount = FVariables.Count();
    FRunFailed = false;
    try {
        InterpretLine(line);
    } catch (const std::bad_alloc&) {
        AbandonLine(variableCount);
    } catch (const std::length_error&) {
        AbandonLine(variableCount);
    } catch (...) {
        FVM.KeepVariableWrites();
        FVariables.RemoveFrom(variableCount);
        throw;
    }
    FVM.KeepVariableWrites();
    // A line that failed assigned nothing to the targets it created; its
    // writes to existing variables before the failure stay.
    if (FRunFailed) FVariables.RemoveFrom(variableCount);
    return !FRunFailed;
}

void TCCInterpreter::InterpretLine(const std::string& line) {
    FTokenizer.SetText(line);
    if (FDebugMode) FTokenizer.DumpTokens(&FOutputLines);
    if (!CommandProcess()) ExpressionProcess();
}

// Puts the variables back as they were before the line and lets go of what
// the line still holds, so that the memory is free for the next line.
void TCCInterpreter::AbandonLine(size_t variableCount) {
    FVM.UndoVariableWrites();
    FVariables.RemoveFrom(variableCount);
    FVM.Reset();
    FCommandList.Clear();
    FTokenizer.SetText({});
    FLastResult = Variant(int32_t{0});
    FLastResultLine.clear();
    throw EINError(FContext.GetText("INT071"));
}

bool TCCInterpreter::CommandProcess() {
    Trace("Enter The Command Process.");
    FLastResult = Variant(int32_t{0});
    FLastResultLine.clear();
    FLastWasExpression = false;

    // Read the first four tokens now, so that a lexical error among them
    // is raised here; they stay to be read by whatever follows.
    const TCCToken* first = FTokenizer.PeekToken();
    const bool hasToken = first != nullptr;
    const bool isCommand = hasToken && first->Is(TokenKind::AtMark);
    FTokenizer.PeekToken(3);  // reads up to the fourth, or to the end of the line

    if (!hasToken) {
        Trace("The Statement Has No Valid Token.");
        return true;
    }
    if (!isCommand) {
        Trace("The Statement Has No \"@\" Header.");
        Trace("Exit The Command Process.");
        return false;
    }
    FTokenizer.SkipToken();  // the "@"
    TokenPtr word = FTokenizer.NextToken();
    TokenPtr argument = FTokenizer.NextToken();
    TokenPtr extra = FTokenizer.NextToken();
    ExecuteCommand(std::move(word), std::move(argument), std::move(extra));
    return true;
}

}  // namespace quenmark
