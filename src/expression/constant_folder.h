#pragma once

#include <cstdint>
#include <vector>

#include "base/context.h"
#include "vm/line_interrupt.h"
#include "vm/variant.h"

namespace quenmark {

// The value of a line made only of literals and operators, worked out while
// the line compiles, so that its code need not run. It follows the
// machine's stack: a literal is pushed, an operator replaces its operands
// with the machine's own operation on them, and a prefix "+" leaves its
// operand as it is. Anything else on the line (a variable, a call, an
// assignment, the power routine), an operation that fails, a stack as deep
// as the machine's, or a request to abandon the line stops the folding for
// the rest of the line: the code then runs as it always did and reports
// what it always reported.
class TConstantFolder {
public:
    // The context gives the number separators of the operations; the
    // interrupt is that of the machine the line will run on. Both must
    // outlive the folder.
    TConstantFolder(const TCCContext& context, const TLineInterrupt& interrupt)
        : FContext(context), FInterrupt(interrupt) {}

    // Starts a line.
    void Start();
    // The line holds something whose value only running its code gives.
    void Stop() { FActive = false; }

    void Literal(const Variant& value);
    void Binary(uint8_t opcode);
    void Unary(uint8_t opcode);

    // The value of the line, once all of it has been folded; null when the
    // folding stopped. Valid until the next Start.
    const Variant* Result() const { return FActive && FStack.size() == 1 ? &FStack.back() : nullptr; }

private:
    // Whether the line is still being folded.
    bool Folding();

    const TCCContext& FContext;
    const TLineInterrupt& FInterrupt;
    // Kept from line to line, so that folding allocates nothing once warm.
    std::vector<Variant> FStack;
    bool FActive = false;
};

}  // namespace quenmark
