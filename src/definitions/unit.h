#pragma once

#include <string>

namespace quenmark {

// One unit of measure: its name as written in the unit file (face and style
// tags included) and how many base units of its group one of it makes. A
// unit whose scale does not start at the base unit's zero (a degree Celsius
// against the kelvin) has an offset as well: value units of it are value
// times Factor plus Offset base units.
class TCCUnit {
public:
    TCCUnit(std::string name, double factor, double offset = 0)
        : Name(std::move(name)), Factor(factor), Offset(offset) {}

    std::string Name;
    double Factor;
    double Offset;
};

}  // namespace quenmark
