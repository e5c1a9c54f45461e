// The unit-file loader on arbitrary file contents. A file that loads gives
// groups whose first unit is the base unit with factor 1, and a unit
// converted into itself keeps its value; a file that fails to load leaves
// the list as it was.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "definitions/profile_text.h"
#include "definitions/unit_group_list.h"
#include "fuzz_support.h"
#include "base/exception.h"

namespace quenmark {
namespace {

using fuzz::Require;

void CheckGroup(const TCCUnitGroup& group) {
    Require(group.Count() >= 1, "a group has its base unit");
    Require(group.BaseUnit() == &group.Items(0) && group.BaseUnit()->Factor == 1.0,
            "the first unit is the base unit with factor 1");
    for (size_t i = 0; i < group.Count(); ++i) {
        const TCCUnit& unit = group.Items(i);
        try {
            Require(group.Convert(2.5, unit.Name, unit.Name) == 2.5, "a unit converted into itself keeps the value");
            const double there = group.Convert(2.5, unit.Name, group.BaseUnit()->Name);
            Require(std::isfinite(there), "a conversion result is a finite number");
        } catch (const Exception&) {
            // a factor of 0, an infinite factor or an overflowing result
        }
    }
}

// A small valid file, loaded before each arbitrary one.
const std::string& KnownFileDirectory() {
    static const std::string directory = [] {
        fuzz::WriteFile(fuzz::ScratchDirectory() + "Known.uni",
                        "[Information]\r\nPurpose=Quenmark Version 1.1 Unit Convertor Definition File\r\n"
                        "[Font]\r\nFont0=Arial\r\n[Units]\r\n---\r\nGroupName:Length\r\nBaseUnit:metre\r\n"
                        "\tkilometre\t1000\r\n---\r\n");
        return fuzz::ScratchDirectory();
    }();
    return directory;
}

}  // namespace
}  // namespace quenmark

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quenmark;
    const std::string& directory = KnownFileDirectory();
    fuzz::WriteFile(directory + "fuzz.uni", std::string(reinterpret_cast<const char*>(data), size));

    const TCCContext context;
    TCCUnitGroupList list(context, "Known.uni", directory);
    const size_t knownCount = list.Count();
    Require(knownCount == 1, "the known file loads");
    const TCCUnitGroupList::FontTable knownFonts = list.Fonts();
    try {
        list.LoadUnitFile("fuzz.uni");
    } catch (const Exception&) {
        Require(list.Count() == knownCount && list.Fonts() == knownFonts, "a failed load leaves the list as it was");
        return 0;
    }
    for (size_t i = 0; i < list.Count(); ++i) CheckGroup(list.Items(i));
    for (const std::string& font : list.Fonts())
        Require(font.size() <= TProfileText::MaxValueLength, "a font name is a value of the file");
    return 0;
}
