#include "expression/expression_parser.h"

#include "vm/command.h"
#include "base/exception.h"
#include "vm/operand.h"

namespace quenmark {

namespace {

// The prefix operator a token stands for, or opNOP for none.
uint8_t PrefixOpcode(const TCCToken& token) {
    if (token.Is(TokenKind::Plus)) return opMOVE;
    if (token.Is(TokenKind::Minus)) return opINV;
    if (token.Is(TokenKind::Not)) return opNOT;
    return opNOP;
}

}  // namespace

TCCExpressionParser::NestingGuard::NestingGuard(TCCExpressionParser& parser) : FParser(parser) {
    if (FParser.FNesting >= MaxNesting) FParser.Fail("INT049");
    ++FParser.FNesting;
}

TCCExpressionParser::TCCExpressionParser(TCCStringTokenizer& tokenizer, TVMCommandList& commands,
                                         TVMCallableList& callables, TVMVariableList& variables,
                                         const TLineInterrupt& interrupt)
    : FTokenizer(tokenizer), FCommands(&commands), FCallables(callables), FVariables(variables),
      FFolder(tokenizer.Context(), interrupt) {}

void TCCExpressionParser::Fail(const char* code) const { throw EINError(FTokenizer.Context().GetText(code)); }

void TCCExpressionParser::FailWith(const char* code, std::string_view argument) const {
    throw EINError(FTokenizer.Context().GetTextWith(code, std::string(argument)));
}

// line := expression <end of line>
void TCCExpressionParser::Compile(const Variant* continued) {
    FNesting = 0;
    FFolder.Start();
    // Assignment targets are created as they are read; a line that does not
    // compile takes the ones it created away again, newest first, so that
    // the table is as it was before the line.
    const size_t variableCount = FVariables.Count();
    try {
        if (continued && StartsWithBinaryOnlyOperator()) ContinueFrom(*continued);
        else ParseExpression();
        if (Peek()) Fail("INT001");
    } catch (...) {
        FVariables.RemoveFrom(variableCount);
        throw;
    }
    FCommands->Emit(opRET);
}

// expression := Identifier "=" expression | logic
void TCCExpressionParser::ParseExpression() {
    NestingGuard guard(*this);
    // Two tokens are read ahead whatever they are, so that a lexical error
    // in the second comes before any syntax error of the first.
    if (const TCCToken* first = Peek()) {
        const bool named = first->Is(TokenKind::Identifier);
        const TCCToken* second = Peek(1);
        if (named && second && second->Is(TokenKind::Equal)) {
            if (FParameters) Fail("INT184");
            // The target's name is kept while its right side is read.
            const std::string target(Peek()->Text());
            Skip();
            Skip();
            ParseAssignment(target);
            return;
        }
    }
    ParseLogic();
}

// assignment := Identifier "=" expression, after the "=" has been read
void TCCExpressionParser::ParseAssignment(const std::string& target) {
    FFolder.Stop();
    if (!HasNext()) Fail("INT040");
    if (FCallables.Find(target) || (FUserFunctions && FUserFunctions->Find(target)) || (FBuiltins && FBuiltins->Find(target)))
        FailWith("INT041", target);
    // The variable exists before its right side is compiled, so that the
    // right side may read it; Compile removes it when the line fails.
    TVMVariable* variable = FVariables.Find(target);
    if (!variable) variable = &FVariables.Add(target, Variant(int32_t{0}));
    if (variable->IsConstant) FailWith("INT042", variable->Name);
    if (variable->IsProtected) FailWith("INT048", variable->Name);
    // Compiling the right side only adds variables, and each keeps its
    // address, so the target stays valid.
    ParseExpression();
    FCommands->Emit(opPOP, TVMOperand::Variable(variable->Name, *variable, FVariables.Removals()));
    FCommands->Emit(opPUSH, TVMOperand::Variable(variable->Name, *variable, FVariables.Removals()));
}

namespace {

// The binary operators by level, the tightest first, each level in the
// order its operators are tried.
//   logic          := additive { ("&" | "|" | "^") additive }
//   additive       := multiplicative { ("+" | "-") multiplicative }
//   multiplicative := power { ("*" | "/" | "%" | Surplus) power }
//   power          := unary { Power unary }
constexpr TCCExpressionParser::BinaryOperator BinaryOperators[] = {
    {TokenKind::Power, opICALL, 4},
    {TokenKind::Multiple, opMUL, 3}, {TokenKind::Divide, opDIV, 3},
    {TokenKind::Intdiv, opIDV, 3}, {TokenKind::Surplus, opMOD, 3},
    {TokenKind::Plus, opADD, 2}, {TokenKind::Minus, opSUB, 2},
    {TokenKind::And, opAND, 1}, {TokenKind::Or, opOR, 1}, {TokenKind::Xor, opXOR, 1},
};

constexpr uint64_t BinaryOperatorKinds = [] {
    TokenKinds kinds;
    for (const auto& binary : BinaryOperators) kinds += binary.Kind;
    return kinds.Bits();
}();

}  // namespace

// The binary operator a token stands for, or null.
const TCCExpressionParser::BinaryOperator* TCCExpressionParser::BinaryOperatorOf(const TCCToken& token) {
    if ((token.Kinds.Bits() & BinaryOperatorKinds) == 0) return nullptr;
    for (const auto& binary : BinaryOperators)
        if (token.Is(binary.Kind)) return &binary;
    return nullptr;
}

void TCCExpressionParser::ParseLogic() { ParseBinary(1); }

// The operand of a level and the operators of that level or tighter that
// follow it, left-associative: the four levels above by precedence climbing,
// reading the same tokens in the same order as one function per level.
void TCCExpressionParser::ParseBinary(int lowestLevel) {
    ParseUnary();
    ParseConversions();
    ParseOperators(lowestLevel);
}

// The operators of lowestLevel or tighter after an operand already compiled.
void TCCExpressionParser::ParseOperators(int lowestLevel) {
    for (;;) {
        const TCCToken* token = Peek();
        if (!token) return;
        const BinaryOperator* binary = BinaryOperatorOf(*token);
        if (!binary || binary->Level < lowestLevel) return;
        Skip();
        RequireOperand();
        ParseBinary(binary->Level + 1);
        EmitOperator(binary->Opcode);
    }
}

// unary := ("+" | "-" | "!") unary | primary
void TCCExpressionParser::ParseUnary() {
    const TCCToken* token = Peek();
    if (!token) return;
    const uint8_t opcode = PrefixOpcode(*token);
    if (opcode == opNOP) {
        ParsePrimary();
        return;
    }
    Skip();
    RequireOperand();
    NestingGuard guard(*this);
    ParseUnary();
    EmitUnary(opcode);
}

// primary := "(" expression ")" | Literal | variable | call
void TCCExpressionParser::ParsePrimary() {
    TCCToken* token = Peek();
    if (!token) Fail("INT001");
    if (token->Is(TokenKind::LeftParen)) {
        Skip();
        ParseExpression();
        if (!ReadIs(TokenKind::RightParen)) Fail("INT043");
        return;
    }
    if (token->Is(TokenKind::Literal)) {
        FFolder.Literal(token->Value);
        FCommands->Emit(opPUSH, TVMOperand::Constant(std::move(token->Value)));
        Skip();
        return;
    }
    if (!token->Is(TokenKind::Identifier)) Fail("INT001");
    ParseIdentifier(*token);
}

// variable := Identifier naming a variable; call when it names a function.
// The name is the next token, which is dropped once it is resolved.
void TCCExpressionParser::ParseIdentifier(const TCCToken& name) {
    FFolder.Stop();
    if (FParameters) return ParseBodyIdentifier(name);
    // A variable hides a function of the same name.
    if (TVMVariable* variable = FVariables.Find(name.Text())) {
        FCommands->Emit(opPUSH, TVMOperand::Variable(name.Text(), *variable, FVariables.Removals()));
        Skip();
        return;
    }
    if (const TVMCallable* function = FCallables.Find(name.Text())) {
        Skip();
        ParseCall(*function);
        return;
    }
    if (const TVMBuiltinFunction* builtin = FBuiltins ? FBuiltins->Find(name.Text()) : nullptr) {
        const std::string functionName = builtin->Name;
        const size_t argCount = static_cast<size_t>(builtin->ArgCount);
        Skip();
        if (ParseCallByName(functionName) != argCount) FailWith("INT047", functionName);
        return;
    }
    if (const TVMUserFunction* function = FUserFunctions ? FUserFunctions->Find(name.Text()) : nullptr) {
        const std::string functionName = function->Name;
        const size_t parameterCount = function->Parameters.size();
        Skip();
        if (ParseCallByName(functionName) != parameterCount) FailWith("INT047", functionName);
        return;
    }
    FailWith("INT044", name.Text());
}

// call := Identifier "(" [ expression { "," expression } ] ")", exactly as
// many arguments as the function takes
void TCCExpressionParser::ParseCall(const TVMCallable& function) {
    const std::string name = function.Name;
    const int32_t argCount = function.ArgCount;
    if (!ReadIs(TokenKind::LeftParen)) FailWith("INT045", name);
    for (int32_t i = 1; i <= argCount; ++i) {
        if (i > 1 && !ReadIs(TokenKind::Comma)) Fail("INT046");
        ParseExpression();
        if (i < argCount && NextIs(TokenKind::RightParen)) FailWith("INT047", name);
    }
    const TCCToken* closing = Peek();
    if (closing && closing->Is(TokenKind::Comma)) FailWith("INT047", name);
    if (!closing || !closing->Is(TokenKind::RightParen)) Fail("INT043");
    Skip();
    FCommands->Emit(opCALL, TVMOperand::Callable(name));
}

// Consumes the next token and tells whether it is of the kind; callers fail
// when it is not, so the token is not needed afterwards.
bool TCCExpressionParser::ReadIs(TokenKind kind) {
    const TCCToken* token = Peek();
    if (!token) return false;
    const bool is = token->Is(kind);
    Skip();
    return is;
}

// An operator must be followed by its operand.
void TCCExpressionParser::RequireOperand() {
    if (!HasNext()) Fail("INT001");
}

void TCCExpressionParser::EmitOperator(uint8_t opcode) {
    if (opcode == opICALL)
        EmitPower();
    else
        EmitBinary(opcode);
}

// Left operand in BX, right operand in CX, result in AX.
void TCCExpressionParser::EmitBinary(uint8_t opcode) {
    FFolder.Binary(opcode);
    FCommands->EmitBinaryOperator(opcode);
}

void TCCExpressionParser::EmitUnary(uint8_t opcode) {
    FFolder.Unary(opcode);
    FCommands->EmitUnaryOperator(opcode);
}

void TCCExpressionParser::EmitPower() {
    FFolder.Stop();
    FCommands->Emit(opICALL, TVMOperand::InternalRoutine(PowerRoutineName));
}

}  // namespace quenmark
