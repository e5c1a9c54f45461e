// Every function of math.vmx against exact values computed once with a
// multiple-precision library (tests/data/make_function_reference.py wrote
// tests/data/function_reference.txt). Each result must lie within one unit in
// the last place (ulp) of the exact value, which keeps it within one ulp of
// the correctly rounded result, and each failure must be the one the table
// names. The worst error of each function is printed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "shipped_library.h"

namespace quenmark {
namespace {

struct ReferenceCase {
    std::string line;
    std::string function;
    std::vector<VMXValue> args;
    std::string expected;  // a decimal value, or DOMAIN, RANGE or WHOLE
};

// An argument without "." or "e" is an Integer, as the calculator passes it.
VMXValue ArgumentRecord(const std::string& text) {
    if (text.find_first_of(".e") == std::string::npos) return testing::IntegerRecord(std::stoi(text));
    return testing::RealRecord(std::strtod(text.c_str(), nullptr));
}

std::vector<ReferenceCase> ReadReferenceTable() {
    std::ifstream file(std::string(QUENMARK_TEST_DATA_DIR) + "/function_reference.txt");
    std::vector<ReferenceCase> cases;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;) fields.push_back(word);
        ReferenceCase row{line, fields.front(), {}, fields.back()};
        for (size_t i = 1; i + 1 < fields.size(); ++i) row.args.push_back(ArgumentRecord(fields[i]));
        cases.push_back(row);
    }
    return cases;
}

int32_t FailureCode(const std::string& expected) {
    if (expected == "DOMAIN") return vmxFailure1;
    if (expected == "RANGE") return vmxFailure3;
    if (expected == "WHOLE") return vmxFailure4;
    return vmxSuccess;
}

// The distance of the result from the exact value in units of the spacing of
// doubles at the exact value (at least the smallest subnormal).
long double UlpError(long double result, long double exact) {
    int exponent = 0;
    std::frexp(std::fabs(exact), &exponent);
    const long double ulp = std::ldexp(1.0L, std::max(exponent - 53, -1074));
    return std::fabs(result - exact) / ulp;
}

struct Worst {
    long double ulps = 0;
    std::string line;
    int cases = 0;
};

TEST(FunctionAccuracyTest, EveryMathFunctionIsWithinOneUlpOfTheExactValue) {
    const testing::ShippedLibrary math("math.vmx");
    ASSERT_TRUE(math.IsOpen());
    const std::vector<ReferenceCase> cases = ReadReferenceTable();
    std::map<std::string, Worst> worst;
    for (const ReferenceCase& row : cases) {
        VMXValue result;
        const int32_t status = math.Call(row.function, row.args, result);
        Worst& entry = worst[row.function];
        ++entry.cases;
        if (status != FailureCode(row.expected)) {
            ADD_FAILURE() << row.line << " answers " << status;
            continue;
        }
        if (status != vmxSuccess) continue;
        EXPECT_TRUE(result.ValueType == vmxInteger || result.ValueType == vmxReal) << row.line;
        const long double ulps = UlpError(testing::NumberOf(result), std::strtold(row.expected.c_str(), nullptr));
        if (ulps > entry.ulps || entry.line.empty()) entry = {ulps, row.line, entry.cases};
    }
    const int32_t functionCount = math.Symbol<VMXGetCountProc>("GetFunctionsNum")();
    EXPECT_EQ(worst.size(), static_cast<size_t>(functionCount)) << "every math function has reference cases";
    std::printf("%-9s %6s %10s  worst case\n", "name", "cases", "worst ulp");
    for (const auto& [name, entry] : worst) {
        std::printf("%-9s %6d %10.3Lf  %s\n", name.c_str(), entry.cases, entry.ulps, entry.line.c_str());
        EXPECT_LE(entry.ulps, 1.0L) << entry.line;
    }
}

}  // namespace
}  // namespace quenmark
