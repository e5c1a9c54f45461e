// The names the shipped modules bring: each function and constant once
// across all modules, each function with a one-line description and an entry
// in every help file, and the physical constants at their CODATA 2018 values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "../vm/shipped_library.h"
#include "module_test_support.h"

namespace quenmark {
namespace {

const char* const ShippedModules[] = {"math.vmx", "text.vmx", "ops.vmx", "numbers.vmx", "units.vmx"};

struct ShippedName {
    std::string module;
    std::string description;
    bool isFunction;
};

// Every function and constant of the shipped modules by name; a name that
// comes twice is reported.
std::map<std::string, ShippedName> ShippedNames() {
    std::map<std::string, ShippedName> names;
    auto add = [&](const std::string& module, const char* name, const char* description, bool isFunction) {
        const auto [at, added] = names.emplace(name, ShippedName{module, description, isFunction});
        EXPECT_TRUE(added) << name << " comes from both " << at->second.module << " and " << module;
    };
    for (const char* file : ShippedModules) {
        const testing::ShippedLibrary module(file);
        if (const auto count = module.Symbol<VMXGetCountProc>("GetFunctionsNum")) {
            const VMXFunction* functions = module.Symbol<VMXGetFunctionsProc>("GetFunctions")();
            for (int32_t i = 0; i < count(); ++i) add(file, functions[i].Name, functions[i].Description, true);
        }
        if (const auto count = module.Symbol<VMXGetCountProc>("GetConstantsNum")) {
            const VMXConstant* constants = module.Symbol<VMXGetConstantsProc>("GetConstants")();
            for (int32_t i = 0; i < count(); ++i) add(file, constants[i].Name, constants[i].Description, false);
        }
    }
    return names;
}

std::string HelpFile(const char* name) {
    std::ifstream in(testing::SourceDirectory() + "resources/" + name);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ShippedNamesTest, EveryFunctionIsUniqueDescribedAndInEveryHelpFile) {
    const std::map<std::string, ShippedName> names = ShippedNames();
    const std::string help[] = {HelpFile("Quenmark.hlp"), HelpFile("German.hlp"), HelpFile("Japanese.hlp")};
    size_t functions = 0;
    for (const auto& [name, entry] : names) {
        EXPECT_EQ(entry.description.find('\n'), std::string::npos) << name;
        if (!entry.isFunction) continue;
        ++functions;
        EXPECT_EQ(entry.description.rfind(name + "(", 0), 0u) << name << ": " << entry.description;
        for (const std::string& file : help) EXPECT_NE(file.find("<code>" + name + "("), std::string::npos) << name;
    }
    EXPECT_GE(functions, 90u);
}

TEST(ShippedNamesTest, PhysicalConstantsHaveTheirCodataValues) {
    const testing::ShippedLibrary math("math.vmx");
    std::map<std::string, double> values;
    const VMXConstant* constants = math.Symbol<VMXGetConstantsProc>("GetConstants")();
    for (int32_t i = 0; i < math.Symbol<VMXGetCountProc>("GetConstantsNum")(); ++i)
        values[constants[i].Name] = constants[i].Value.RealValue;
    const std::map<std::string, const char*> codata = {
        {"C_LIGHT", "299792458"},       {"H_PLANCK", "6.62607015e-34"},      {"N_AVOGADRO", "6.02214076e23"},
        {"K_BOLTZMANN", "1.380649e-23"}, {"E_CHARGE", "1.602176634e-19"},     {"G_STANDARD", "9.80665"},
        {"P_ATM", "101325"},            {"G_NEWTON", "6.67430e-11"},         {"M_ELECTRON", "9.1093837015e-31"},
        {"M_PROTON", "1.67262192369e-27"}, {"M_NEUTRON", "1.67492749804e-27"}, {"U_ATOMIC", "1.66053906660e-27"},
        {"EPSILON_0", "8.8541878128e-12"}, {"MU_0", "1.25663706212e-6"},     {"ALPHA_FINE", "7.2973525693e-3"},
        {"SIGMA_SB", "5.670374419e-8"}, {"R_INFINITY", "10973731.568160"},   {"A_BOHR", "5.29177210903e-11"}};
    for (const auto& [name, text] : codata) {
        ASSERT_TRUE(values.count(name)) << name;
        EXPECT_EQ(values[name], std::strtod(text, nullptr)) << name;
    }
    // The constants the SI defines through others: within an ulp of the
    // product or quotient of the exact values.
    const long double pi = 3.14159265358979323846264338327950288L;
    const std::map<std::string, long double> derived = {
        {"HBAR", 6.62607015e-34L / (2 * pi)},
        {"R_GAS", 6.02214076e23L * 1.380649e-23L},
        {"F_FARADAY", 6.02214076e23L * 1.602176634e-19L}};
    for (const auto& [name, exact] : derived) {
        ASSERT_TRUE(values.count(name)) << name;
        EXPECT_LE(std::fabs(values[name] - exact), std::fabs(exact) * 0x1.0p-52L) << name;
    }
}

// The new functions through the interpreter, as a user types them.
TEST(ShippedNamesTest, NewFunctionsAndConstantsWorkInExpressions) {
    testing::ModuleSession session(testing::ProgramModuleDirectory());
    const std::pair<const char*, const char*> lines[] = {
        {"ROOT(27, 3)", "3"},        {"ROOT(-32, 5)", "-2"},         {"ROUNDTO(2.675, 2)", "2.68"},
        {"TRUNCTO(-2.679, 2)", "-2.67"}, {"IDIV(1, 0.1)", "9"},      {"SIND(30)", "0.5"},
        {"DMS(12, 30, 36)", "12.51"}, {"NPER(0, -100, 1000)", "10"}, {"FACTOR(360)", "\"2^3*3^2*5\""},
        {"HEX(255)", "\"FF\""},      {"RANDINT(4, 4)", "4"},         {"C_LIGHT", "299792458"},
        {"ROOT(-8, 2)", "CVM021: ROOT"}, {"GAMMA(0)", "CVM021: GAMMA"}, {"ROOT(8, 1.5)", "CVM024: ROOT"},
        {"NEXTPRIME(9007199254740881)", "CVM023: NEXTPRIME"}};
    for (const auto& [line, expected] : lines) EXPECT_EQ(session.Result(line), expected) << line;
}

}  // namespace
}  // namespace quenmark
