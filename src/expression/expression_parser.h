#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "expression/constant_folder.h"
#include "expression/string_tokenizer.h"
#include "vm/builtin_function_list.h"
#include "vm/callable_list.h"
#include "vm/command_list.h"
#include "vm/line_interrupt.h"
#include "vm/user_function_list.h"
#include "vm/variable_list.h"

namespace quenmark {

// Compiles the tokens of one line into VM code by recursive descent,
// emitting instructions in postfix order straight into the command list.
// Every name is resolved at compile time against the two tables. Errors
// are EINError in the messages of the tokenizer's context.
class TCCExpressionParser {
public:
    // The interrupt is that of the machine the code will run on: a line it
    // asks to abandon is not folded. Everything given must outlive the parser.
    TCCExpressionParser(TCCStringTokenizer& tokenizer, TVMCommandList& commands, TVMCallableList& callables,
                        TVMVariableList& variables, const TLineInterrupt& interrupt);

    // The user's functions, which calls may name; none until set. The list
    // must outlive the parser.
    void SetUserFunctions(const TVMUserFunctionList* functions) { FUserFunctions = functions; }
    // The program's own functions (CONVERT); none until set.
    void SetBuiltinFunctions(const TVMBuiltinFunctionList* functions) { FBuiltins = functions; }

    // Compiles the tokenizer's current line, appending to the command list.
    // Throws EINError on the first error; the code appended before it
    // stays, but the variables the line created are removed again. With a
    // continued value, a line whose first token is an operator that cannot
    // start an expression ("*", "/", "&", ...; not "+" or "-") compiles as
    // that value followed by the line; so does a line that starts with a
    // unit conversion.
    void Compile(const Variant* continued = nullptr);

    // Whether the tokenizer's line defines a function:
    // Identifier "(" [ Identifier { "," Identifier } ] ")" "=" ...
    bool IsFunctionDefinition();
    // Compiles the definition on the tokenizer's line into a function whose
    // Definition is the given text. Throws EINError: INT181 for the name of
    // a module or built-in function, INT182 for the name of a variable, INT183 for a
    // parameter named twice, INT184 for an assignment in the body, and the
    // errors of an expression. Nothing is defined here; the caller keeps
    // the function.
    std::unique_ptr<TVMUserFunction> CompileFunction(std::string definition);
    // The value of the line just compiled when it is made only of literals
    // and operators and working it out did not fail; null otherwise. Running
    // the code would give the same value.
    const Variant* FoldedValue() const { return FFolder.Result(); }

    // How deeply parentheses, prefix operators, assignments and arguments
    // may nest before the line is refused (INT049), so that no line can
    // overflow the native call stack with the parser's recursion.
    static constexpr int MaxNesting = 500;

    // A binary operator: the token kind, the opcode it compiles to (opICALL
    // for the power routine) and its level, 1 binding loosest.
    struct BinaryOperator {
        TokenKind Kind;
        uint8_t Opcode;
        int Level;
    };
    static const BinaryOperator* BinaryOperatorOf(const TCCToken& token);

private:

    // Counts one nesting level for as long as it lives.
    class NestingGuard {
    public:
        explicit NestingGuard(TCCExpressionParser& parser);
        ~NestingGuard() { --FParser.FNesting; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        TCCExpressionParser& FParser;
    };

    [[noreturn]] void Fail(const char* code) const;
    [[noreturn]] void FailWith(const char* code, std::string_view argument) const;
    void ParseExpression();
    void ParseAssignment(const std::string& target);
    void ParseLogic();
    void ParseBinary(int lowestLevel);
    void ParseOperators(int lowestLevel);
    bool StartsWithBinaryOnlyOperator();
    void ParseConversions();
    void ContinueFrom(const Variant& continued);
    void ParseBodyIdentifier(const TCCToken& name);
    // Name "(" arguments ")" with the name already read: the call with its
    // argument count in the code, for the function found when it runs.
    // Returns the number of arguments.
    size_t ParseCallByName(const std::string& name);
    std::vector<std::string> ParseParameters();
    void ParseUnary();
    void ParsePrimary();
    void ParseIdentifier(const TCCToken& name);
    void ParseCall(const TVMCallable& function);

    // The next token, read but left in place; null at the end of the line.
    // Valid until the next use of the tokenizer.
    TCCToken* Peek(size_t ahead = 0) { return FTokenizer.PeekToken(ahead); }
    // Drops the next token, which Peek has read.
    void Skip() { FTokenizer.SkipToken(); }
    bool HasNext() { return Peek() != nullptr; }
    bool NextIs(TokenKind kind) {
        const TCCToken* token = Peek();
        return token && token->Is(kind);
    }
    bool ReadIs(TokenKind kind);
    void RequireOperand();

    void EmitOperator(uint8_t opcode);
    void EmitBinary(uint8_t opcode);
    void EmitUnary(uint8_t opcode);
    void EmitPower();

    TCCStringTokenizer& FTokenizer;
    // The line's command list, or a function's body while it compiles.
    TVMCommandList* FCommands;
    TVMCallableList& FCallables;
    TVMVariableList& FVariables;
    const TVMUserFunctionList* FUserFunctions = nullptr;
    const TVMBuiltinFunctionList* FBuiltins = nullptr;
    // The parameters of the function whose body compiles; null otherwise.
    const std::vector<std::string>* FParameters = nullptr;
    int FNesting = 0;
    TConstantFolder FFolder;
};

}  // namespace quenmark
