#pragma once

#include <string>

namespace quenmark {

// One unit of measure: its name as written in the unit file (face and style
// tags included) and how many base units of its group one of it makes.
class TCCUnit {
public:
    TCCUnit(std::string name, double factor) : Name(std::move(name)), Factor(factor) {}

    std::string Name;
    double Factor;
};

}  // namespace quenmark
