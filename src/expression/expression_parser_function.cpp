// The parts of the parser for user functions (their definitions, their
// bodies and calls by name) and for lines that continue the last result.
#include <algorithm>

#include "expression/expression_parser.h"
#include "base/exception.h"
#include "base/names.h"
#include "vm/command.h"
#include "vm/operand.h"

namespace quenmark {

namespace {

// Sets a pointer for as long as it lives and puts the old one back.
template <typename T>
class TPointerSwap {
public:
    TPointerSwap(T*& pointer, T* value) : FPointer(pointer), FOld(pointer) { FPointer = value; }
    ~TPointerSwap() { FPointer = FOld; }
    TPointerSwap(const TPointerSwap&) = delete;
    TPointerSwap& operator=(const TPointerSwap&) = delete;

private:
    T*& FPointer;
    T* FOld;
};

}  // namespace

// Each token is looked at as soon as it is read: reading further ahead may
// move the tokens read before.
bool TCCExpressionParser::IsFunctionDefinition() {
    const auto is = [this](size_t ahead, TokenKind kind) {
        const TCCToken* token = Peek(ahead);
        return token && token->Is(kind);
    };
    if (!is(0, TokenKind::Identifier) || !is(1, TokenKind::LeftParen)) return false;
    size_t at = 2;
    if (is(at, TokenKind::Identifier)) {
        while (is(at + 1, TokenKind::Comma)) {
            at += 2;
            if (!is(at, TokenKind::Identifier)) return false;
        }
        ++at;
    }
    return is(at, TokenKind::RightParen) && is(at + 1, TokenKind::Equal);
}

// "(" [ Identifier { "," Identifier } ] ")" "=", as IsFunctionDefinition found it.
std::vector<std::string> TCCExpressionParser::ParseParameters() {
    std::vector<std::string> parameters;
    Skip();  // "("
    while (const TCCToken* token = Peek()) {
        if (token->Is(TokenKind::RightParen)) break;
        if (token->Is(TokenKind::Identifier)) {
            const auto same = [token](const std::string& other) { return SameName(other, token->Text()); };
            if (std::any_of(parameters.begin(), parameters.end(), same)) FailWith("INT183", token->Text());
            parameters.emplace_back(token->Text());
        }
        Skip();
    }
    Skip();  // ")"
    Skip();  // "="
    return parameters;
}

std::unique_ptr<TVMUserFunction> TCCExpressionParser::CompileFunction(std::string definition) {
    FNesting = 0;
    FFolder.Start();
    FFolder.Stop();
    auto function = std::make_unique<TVMUserFunction>();
    function->Name = std::string(Peek()->Text());
    function->UpperName = UpperCase(function->Name);
    function->Definition = std::move(definition);
    if (FCallables.Find(function->Name) || (FBuiltins && FBuiltins->Find(function->Name)))
        FailWith("INT181", function->Name);
    if (const TVMVariable* variable = FVariables.Find(function->Name)) FailWith("INT182", variable->Name);
    Skip();
    function->Parameters = ParseParameters();
    if (!HasNext()) Fail("INT040");
    const TPointerSwap<TVMCommandList> body(FCommands, &function->Body);
    const TPointerSwap<const std::vector<std::string>> parameters(FParameters, &function->Parameters);
    ParseExpression();
    if (Peek()) Fail("INT001");
    FCommands->Emit(opRET);
    return function;
}

// In a body a name is a parameter, or else whatever it names when the body
// runs: a call when "(" follows, a variable otherwise.
void TCCExpressionParser::ParseBodyIdentifier(const TCCToken& name) {
    const auto& parameters = *FParameters;
    for (size_t i = 0; i < parameters.size(); ++i)
        if (SameName(parameters[i], name.Text())) {
            FCommands->Emit(opPUSH, TVMOperand::Local(static_cast<int32_t>(i)));
            Skip();
            return;
        }
    const std::string text(name.Text());
    Skip();
    if (NextIs(TokenKind::LeftParen)) {
        ParseCallByName(text);
        return;
    }
    FCommands->Emit(opPUSH, TVMOperand::Variable(text));
}

size_t TCCExpressionParser::ParseCallByName(const std::string& name) {
    if (!ReadIs(TokenKind::LeftParen)) FailWith("INT045", name);
    size_t count = 0;
    if (NextIs(TokenKind::RightParen)) {
        Skip();
    } else {
        for (;;) {
            ParseExpression();
            ++count;
            if (NextIs(TokenKind::Comma)) {
                Skip();
                continue;
            }
            if (!ReadIs(TokenKind::RightParen)) Fail("INT043");
            break;
        }
    }
    FCommands->Emit(opCALL, TVMOperand::Callable(name), TVMOperand::Constant(Variant(static_cast<int32_t>(count))));
    return count;
}

// "+" and "-" start an expression as signs, so only the other binary
// operators, and the postfix conversion, continue the last result.
bool TCCExpressionParser::StartsWithBinaryOnlyOperator() {
    const TCCToken* token = Peek();
    if (!token || token->Is(TokenKind::Plus) || token->Is(TokenKind::Minus)) return false;
    return token->Is(TokenKind::Factorial) || BinaryOperatorOf(*token) != nullptr;
}

void TCCExpressionParser::ContinueFrom(const Variant& continued) {
    FFolder.Literal(continued);
    FCommands->Emit(opPUSH, TVMOperand::Constant(continued));
    ParseConversions();
    ParseOperators(1);
}

// conversion := operand PostfixToken, where a module's postfix token (the
// units module's "[km/h -> m/s]") has the text "FROM->TO": the program's
// CONVERT with the operand and the two unit names. Any other postfix token
// is a syntax error, as it always was.
void TCCExpressionParser::ParseConversions() {
    while (const TCCToken* token = Peek()) {
        if (!token->Is(TokenKind::Factorial)) return;
        const std::string_view text = token->Text();
        const size_t arrow = text.find("->");
        if (arrow == std::string_view::npos || arrow == 0 || arrow + 2 >= text.size()) Fail("INT001");
        FFolder.Stop();
        FCommands->Emit(opPUSH, TVMOperand::Constant(Variant(text.substr(0, arrow))));
        FCommands->Emit(opPUSH, TVMOperand::Constant(Variant(text.substr(arrow + 2))));
        FCommands->Emit(opCALL, TVMOperand::Callable(UnitConversionName), TVMOperand::Constant(Variant(int32_t{3})));
        Skip();
    }
}

}  // namespace quenmark
