#include <gtest/gtest.h>

#include "vm/callable_list.h"
#include "vm/memory.h"
#include "vm/variable_list.h"

namespace quenmark {
namespace {

int32_t FirstDispatcher(const char*, VMXValue*, VMXValue*, int32_t) { return 1; }
int32_t SecondDispatcher(const char*, VMXValue*, VMXValue*, int32_t) { return 2; }

TEST(VariableListTest, FindIgnoresCaseOfAsciiLettersOnly) {
    TVMVariableList variables;
    variables.Add("pi", Variant(3.14));
    EXPECT_NE(variables.Find("pi"), nullptr);
    EXPECT_NE(variables.Find("PI"), nullptr);
    EXPECT_EQ(variables.Find("Pi"), variables.Find("pI"));
    variables.Add("\xC3\xA9t\xC3\xA9", Variant(int32_t{1}));  // small accented letters
    EXPECT_EQ(variables.Find("\xC3\x89T\xC3\x89"), nullptr);  // capital accented letters differ
    EXPECT_NE(variables.Find("\xC3\xA9T\xC3\xA9"), nullptr);
}

// Names are put into capitals a word at a time, and longer ones another
// way: every length finds its variable in another case, and a name one
// byte off finds nothing.
TEST(VariableListTest, FindIgnoresCaseAtEveryNameLength) {
    TVMVariableList variables;
    for (size_t length = 1; length <= 70; ++length) {
        std::string name(length, 'a');
        for (size_t i = 0; i < length; ++i) name[i] = static_cast<char>('a' + i % 26);
        variables.Add(name, Variant(static_cast<int32_t>(length)));
        std::string upper = name;
        for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
        ASSERT_NE(variables.Find(upper), nullptr) << length;
        EXPECT_EQ(variables.Find(upper)->Value, Variant(static_cast<int32_t>(length)));
        upper.back() = '_';
        EXPECT_EQ(variables.Find(upper), nullptr) << length;
    }
}

TEST(VariableListTest, FindReturnsTheOldestOfEqualNames) {
    TVMVariableList variables;
    variables.Add("x", Variant(int32_t{1}));
    variables.Add("X", Variant(int32_t{2}));
    EXPECT_EQ(variables.Find("x")->Value, Variant(int32_t{1}));
}

TEST(VariableListTest, RemovingTheOldestOfEqualNamesFindsTheNextOldest) {
    TVMVariableList variables;
    variables.Add("x", Variant(int32_t{1}));
    variables.Add("y", Variant(int32_t{9}));
    variables.Add("X", Variant(int32_t{2}));
    variables.Add("x", Variant(int32_t{3}));
    variables.Remove(variables.Find("X"));
    EXPECT_EQ(variables.Find("x")->Value, Variant(int32_t{2}));
    variables.Delete(1);  // y stays first, the entry holding 2 goes
    EXPECT_EQ(variables.Find("X")->Value, Variant(int32_t{3}));
    variables.Delete(1);
    EXPECT_EQ(variables.Find("x"), nullptr);
    EXPECT_EQ(variables.Find("Y")->Value, Variant(int32_t{9}));
    variables.Clear();
    EXPECT_EQ(variables.Find("y"), nullptr);
}

TEST(VariableListTest, RemovingALaterEqualNameKeepsTheOldest) {
    TVMVariableList variables;
    variables.Add("abc", Variant(int32_t{1}));
    variables.Add("ABC", Variant(int32_t{2}));
    variables.Delete(1);
    EXPECT_EQ(variables.Find("aBc")->Value, Variant(int32_t{1}));
}

TEST(VariableListTest, ModuleConstantRedefinesKeepingProtection) {
    TVMVariableList variables;
    variables.Add("pi", Variant(int32_t{3}));
    TVMVariable& redefined = variables.RegisterConstant("PI", Variant(3.14159));
    EXPECT_EQ(variables.Count(), 1u);
    EXPECT_EQ(redefined.Name, "PI");
    EXPECT_EQ(redefined.Value, Variant(3.14159));
    EXPECT_TRUE(redefined.IsConstant);
    EXPECT_FALSE(redefined.IsProtected);

    TVMVariable& added = variables.RegisterConstant("e", Variant(2.718));
    EXPECT_TRUE(added.IsConstant);
    EXPECT_TRUE(added.IsProtected);
    EXPECT_EQ(variables.Count(), 2u);
}

TEST(VariableListTest, DeleteAndRemove) {
    TVMVariableList variables;
    variables.Add("a", Variant(int32_t{1}));
    variables.Add("b", Variant(int32_t{2}));
    variables.Add("c", Variant(int32_t{3}));
    variables.Remove(variables.Find("b"));
    variables.Delete(0);
    ASSERT_EQ(variables.Count(), 1u);
    EXPECT_EQ(variables[0].Name, "c");
    variables.Clear();
    EXPECT_EQ(variables.Count(), 0u);
}

TEST(CallableListTest, LaterModuleTakesOverCallsButNotTheArgumentCount) {
    TVMCallableList callables;
    callables.RegisterFunction("sin", FirstDispatcher, "sine", 1);
    TVMCallable& callable = callables.RegisterFunction("SIN", SecondDispatcher, "other", 2);
    EXPECT_EQ(callables.Count(), 1u);
    EXPECT_EQ(callable.Name, "SIN");
    EXPECT_EQ(callable.ArgCount, 1);
    EXPECT_EQ(callable.Description, "sine");
    EXPECT_EQ(callable.Invoke(nullptr, nullptr), 2);
}

TEST(CallableListTest, FindReturnsTheOldestOfEqualNames) {
    TVMCallableList callables;
    callables.Add(std::make_unique<TVMCallable>("f", FirstDispatcher, "first", 1));
    callables.Add(std::make_unique<TVMCallable>("F", SecondDispatcher, "second", 1));
    EXPECT_EQ(callables.Find("f")->Description, "first");
    callables.Clear();
    EXPECT_EQ(callables.Find("F"), nullptr);
}

TEST(CallableListTest, InvokePassesNameInCapitalsAndArgCount) {
    static std::string seenName;
    static int32_t seenCount;
    TVMCallableList callables;
    callables.Add(std::make_unique<TVMCallable>(
        "mAx",
        [](const char* name, VMXValue*, VMXValue*, int32_t count) -> int32_t {
            seenName = name;
            seenCount = count;
            return 0;
        },
        "maximum", 2));
    EXPECT_EQ(callables.Find("max")->Invoke(nullptr, nullptr), 0);
    EXPECT_EQ(seenName, "MAX");
    EXPECT_EQ(seenCount, 2);
}

TEST(MemoryTest, ClearTurnsEverySlotIntoIntegerZero) {
    TVMMemory memory(4);
    EXPECT_EQ(memory.Size(), 4u);
    memory.Put(0, Variant("text"));
    memory.Put(3, Variant(2.5));
    memory.Clear();
    for (size_t i = 0; i < memory.Size(); ++i) EXPECT_EQ(memory.Get(i), Variant(int32_t{0}));
}

}  // namespace
}  // namespace quenmark
