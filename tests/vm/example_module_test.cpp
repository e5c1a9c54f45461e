// The example module of the module author's guide: the guide shows its
// whole source, and the build compiles exactly that source.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "module_test_support.h"
#include "support/echo_messages.h"
#include "support/file_bytes.h"

namespace quenmark {
namespace {

// The body of the first fenced block that starts with the opening line.
std::string FencedBlock(const std::string& text, const std::string& opening) {
    const size_t start = text.find(opening + "\n");
    if (start == std::string::npos) return {};
    const size_t body = start + opening.size() + 1;
    const size_t end = text.find("\n```", body - 1);
    return end == std::string::npos ? std::string() : text.substr(body, end + 1 - body);
}

TEST(ExampleModuleTest, GuideShowsTheSourceThatIsBuilt) {
    const std::string guide = FileBytes(testing::SourceDirectory() + "docs/modules.md");
    const std::string source = FileBytes(testing::SourceDirectory() + "modules/example/sample.c");
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(FencedBlock(guide, "```c"), source);
}

// The guide names the interface version and the integer width the header
// states, with their values.
TEST(ExampleModuleTest, GuideStatesTheHeadersVersionAndIntegerWidth) {
    const std::string guide = FileBytes(testing::SourceDirectory() + "docs/modules.md");
    EXPECT_NE(guide.find("`VMX_INTERFACE_VERSION`"), std::string::npos);
    EXPECT_NE(guide.find("(" + std::to_string(VMX_INTERFACE_VERSION) + " since `GetTokenStarts`"), std::string::npos);
    EXPECT_NE(guide.find("signed " + std::to_string(VMX_INT_BITS) + "-bit number"), std::string::npos);
    EXPECT_EQ(sizeof(VMXValue::IntValue) * 8, static_cast<size_t>(VMX_INT_BITS));
}

TEST(ExampleModuleTest, LoadsAndWorksInAnInterpreter) {
    testing::ModuleSession session(testing::ExampleModuleDirectory());
    ASSERT_EQ(session.Modules.Count(), 1u);
    EXPECT_EQ(session.Modules[0].FileName(), "sample.vmx");
    EXPECT_EQ(session.Result("ANSWER"), "42");
    EXPECT_EQ(session.Result("TWICE(21)"), "42");
    EXPECT_EQ(session.Result("TWICE(1.25)"), "2.5");
    EXPECT_EQ(session.Result("TWICE(2000000000)"), "4000000000");
    EXPECT_EQ(session.Result("TWICE(\"x\")"), "CVM022: TWICE");
    EXPECT_EQ(session.Run("HELLO(\"Ann\")"), (std::vector<std::string>{"Hello, Ann!", "\"Hello, Ann!\""}));
}

}  // namespace
}  // namespace quenmark
