// The saved-variable decoder on arbitrary lines and arbitrary "Variables"
// sections, and what the program does next with a restored value: list it,
// compute with it and show it in every output mode. Checked: a decoded
// variable survives its own encoding, and a section read, written and read
// again gives the same variables.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/saved_variables.h"
#include "app/settings.h"
#include "expression/interpreter.h"
#include "fuzz_support.h"
#include "support/section_writers.h"
#include "base/exception.h"

namespace quenmark {
namespace {

using fuzz::Require;

void CheckLine(const std::string& line) {
    std::unique_ptr<TVMVariable> variable;
    try {
        variable = DecodeVariableLine(line);
    } catch (const Exception&) {
        return;
    }
    const std::string encoded = EncodeVariableLine(*variable);
    Require(EncodeVariableLine(*DecodeVariableLine(encoded)) == encoded, "a decoded variable survives its encoding");
}

std::vector<std::string> Encoded(const TVMVariableList& variables, bool constantsToo) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < variables.Count(); ++i)
        if (constantsToo || !variables[i].IsConstant) lines.push_back(EncodeVariableLine(variables[i]));
    return lines;
}

// The lines a user would type after the start with a restored value.
const char* const UseLines[] = {
    "v", "v + 1", "v * 2", "-v", "v / 3", "v % 7", "!v", "v & 255", "v ^ 2",
    "@HEX", "v", "@OCT", "v", "@BIN", "v", "@DEC", "@FORMAT \"#,##0.00;(0.00);zero\"", "v", "@VAR",
};

void UseValue(const Variant& value) {
    TCCInterpreter interpreter;
    interpreter.Variables().Add("v", value);
    for (const char* line : UseLines) fuzz::RunLine(interpreter, line);
}

}  // namespace
}  // namespace quenmark

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quenmark;
    const std::string body(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : fuzz::InputLines(body)) CheckLine(line);

    const std::string path = fuzz::ScratchDirectory() + "variables.cfg";
    fuzz::WriteFile(path, fuzz::SettingsFileWith(VariablesSection, body));
    const TSettings settings(path);
    TVMVariableList restored;
    ReadVariablesSection(settings, restored);

    Require(WriteVariablesSection(settings, restored), "restored variables can be saved");
    TVMVariableList again;
    ReadVariablesSection(settings, again);
    Require(Encoded(again, true) == Encoded(restored, false), "saved variables read back as they were");

    for (size_t i = 0; i < restored.Count() && i < 4; ++i) UseValue(restored[i].Value);
    return 0;
}
