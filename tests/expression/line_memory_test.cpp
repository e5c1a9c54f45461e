// A line that runs out of memory fails as a whole: INT071, the variables as
// they were before it, and the interpreter ready for the next line.
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "expression/interpreter.h"
#include "vm/cal_vm.h"
#include "base/exception.h"
#include "support/line_output.h"

namespace quenmark {
namespace {

// A function whose call runs out of memory, as a module's allocation could.
int32_t ExhaustingDispatcher(const char*, VMXValue*, VMXValue*, int32_t) { throw std::bad_alloc(); }

class LineMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        interpreter.Callables().Add(std::make_unique<TVMCallable>("EXHAUST", ExhaustingDispatcher, "", 0));
    }

    // The output of a line, its error's text last where it fails.
    std::vector<std::string> Run(const std::string& line) { return testing::LineOutput(interpreter, line); }

    const Variant* ValueOf(const char* name) {
        const TVMVariable* variable = interpreter.Variables().Find(name);
        return variable ? &variable->Value : nullptr;
    }

    TCCInterpreter interpreter;
};

// Each failing line writes x before it runs out of memory and creates y.
struct FailingLine {
    const char* Cause;
    std::string Line;
};

TEST_F(LineMemoryTest, FailingLineRestoresWrittenAndRemovesCreatedVariables) {
    const std::string half(TCalVM::MaxStringLength / 2 + 1, 'a');
    const std::vector<FailingLine> lines = {
        {"allocation failure", "y = (x = 2) + (x = 3) + EXHAUST()"},
        {"String beyond the limit", "y = (x = 2) + (x = 3) + (h + h)"},
    };
    interpreter.Variables().Add("h", Variant(half));
    for (const FailingLine& failing : lines) {
        Run("x = 1");
        EXPECT_EQ(Run(failing.Line), std::vector<std::string>{"INT071"}) << failing.Cause;
        ASSERT_NE(ValueOf("x"), nullptr) << failing.Cause;
        EXPECT_EQ(*ValueOf("x"), Variant(int32_t{1})) << failing.Cause;
        EXPECT_EQ(ValueOf("y"), nullptr) << failing.Cause;
        EXPECT_EQ(interpreter.LastResult(), Variant(int32_t{0})) << failing.Cause;
        EXPECT_EQ(Run("x + 1"), std::vector<std::string>{"2"}) << failing.Cause << ": usable afterwards";
    }
}

// The write to an existing variable stays; the target the failed line
// created does not, as its assignment never happened.
TEST_F(LineMemoryTest, OtherErrorsKeepTheWritesMadeBeforeThem) {
    Run("x = 1");
    EXPECT_EQ(Run("y = (x = 2) + 1 / 0"), std::vector<std::string>{"CVM005"});
    EXPECT_EQ(*ValueOf("x"), Variant(int32_t{2}));
    EXPECT_EQ(ValueOf("y"), nullptr);
}

}  // namespace
}  // namespace quenmark
