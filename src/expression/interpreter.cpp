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
      FParser(FTokenizer, FCommandList, FCallables, FVariables),
      FVM(FContext, FVariables, FCommandList, FCallables) {}

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
        throw;
    }
    FVM.KeepVariableWrites();
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
    while (FVariables.Count() > variableCount) FVariables.Delete(FVariables.Count() - 1);
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

    // Read the first four tokens (so a lexical error among them is raised
    // here) and push them back, so the line is intact for whatever follows.
    // Absent tokens at the end of the line are not pushed back: the
    // tokenizer reports the end there again by itself.
    TokenPtr tokens[4];
    for (TokenPtr& token : tokens) token = FTokenizer.NextToken();
    const bool hasToken = tokens[0] != nullptr;
    const bool isCommand = hasToken && tokens[0]->Is(TokenKind::AtMark);
    if (!isCommand)
        for (int i = 3; i >= 0; --i)
            if (tokens[i]) FTokenizer.PushBack(std::move(tokens[i]));

    if (!hasToken) {
        Trace("The Statement Has No Valid Token.");
        return true;
    }
    if (!isCommand) {
        Trace("The Statement Has No \"@\" Header.");
        Trace("Exit The Command Process.");
        return false;
    }
    ExecuteCommand(std::move(tokens[1]), std::move(tokens[2]), std::move(tokens[3]));
    return true;
}

}  // namespace quenmark
