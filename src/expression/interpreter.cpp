#include "expression/interpreter.h"

namespace quenmark {

TCCInterpreter::TCCInterpreter()
    : FParser(FTokenizer, FCommandList, FCallables, FVariables), FVM(FVariables, FCommandList, FCallables) {}

void TCCInterpreter::Trace(const char* line) {
    if (FDebugMode) FOutputLines.emplace_back(line);
}

bool TCCInterpreter::ProcessLine(const std::string& line) {
    FTokenizer.SetText(line);
    if (FDebugMode) FTokenizer.DumpTokens(&FOutputLines);
    if (!CommandProcess()) ExpressionProcess();
    return true;
}

bool TCCInterpreter::CommandProcess() {
    Trace("Enter The Command Process.");
    FLastResult = Variant(int32_t{0});
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
