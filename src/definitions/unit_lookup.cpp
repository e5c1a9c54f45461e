#include "definitions/unit_lookup.h"

#include "base/exception.h"
#include "definitions/unit_group.h"

namespace quenmark {

namespace {

// The text without its tags: "<" to the next ">".
std::string WithoutTags(std::string_view text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<') {
            const size_t end = text.find('>', i);
            if (end != std::string_view::npos) {
                i = end;
                continue;
            }
        }
        plain += text[i];
    }
    return plain;
}

const TCCUnit* FindInGroup(const TCCUnitGroup& group, std::string_view name) {
    for (size_t i = 0; i < group.Count(); ++i)
        if (UnitAnswersTo(group.Items(i), name)) return &group.Items(i);
    return nullptr;
}

// The first group that holds the named unit; null when none does.
const TCCUnitGroup* GroupOf(const TCCUnitGroupList& groups, std::string_view name) {
    for (size_t i = 0; i < groups.Count(); ++i)
        if (FindInGroup(groups.Items(i), name)) return &groups.Items(i);
    return nullptr;
}

}  // namespace

bool UnitAnswersTo(const TCCUnit& unit, std::string_view name) {
    if (name.empty()) return false;
    const std::string plain = WithoutTags(unit.Name);
    if (plain == name) return true;
    const size_t open = plain.rfind(" (");
    if (open == std::string::npos || plain.back() != ')') return false;
    if (std::string_view(plain).substr(0, open) == name) return true;
    return std::string_view(plain).substr(open + 2, plain.size() - open - 3) == name;
}

double ConvertNamedUnits(const TCCUnitGroupList& groups, double value, std::string_view from, std::string_view to,
                         const TCCContext& context) {
    for (size_t i = 0; i < groups.Count(); ++i) {
        const TCCUnit* fromUnit = FindInGroup(groups.Items(i), from);
        const TCCUnit* toUnit = fromUnit ? FindInGroup(groups.Items(i), to) : nullptr;
        if (!toUnit) continue;
        try {
            return ConvertUnits(value, *fromUnit, *toUnit);
        } catch (const Exception&) {
            throw EVMError(context.GetText("CVM006"));
        }
    }
    const TCCUnitGroup* fromGroup = GroupOf(groups, from);
    if (!fromGroup) throw EVMError(context.GetTextWith("CVM123", from));
    const TCCUnitGroup* toGroup = GroupOf(groups, to);
    if (!toGroup) throw EVMError(context.GetTextWith("CVM123", to));
    std::string text = context.GetTextWith("CVM122", std::string(from) + " (" + fromGroup->Name + ")");
    const std::string second = std::string(to) + " (" + toGroup->Name + ")";
    if (const size_t at = text.find("%2"); at != std::string::npos) text.replace(at, 2, second);
    else text += " " + second;
    throw EVMError(text);
}

}  // namespace quenmark
