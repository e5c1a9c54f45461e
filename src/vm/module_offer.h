#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vm/variant.h"

namespace quenmark {

// What a module gave the program when it was loaded, as far as its loading
// got: enough to enter its names and tell about it again without loading
// it, until its file changes.
struct TOfferedConstant {
    std::string Name;
    std::string Description;
    Variant Value;
    bool operator==(const TOfferedConstant&) const = default;
};

struct TOfferedFunction {
    std::string Name;
    std::string Description;
    int32_t ArgCount = 0;
    bool operator==(const TOfferedFunction&) const = default;
};

// The texts of the information record, in its order.
struct TOfferedInfo {
    std::string Name;
    std::string Comment;
    std::string ModuleType;
    std::string InterpreterLevel;
    std::string Author;
    std::string Copyright;
    bool operator==(const TOfferedInfo&) const = default;
};

struct TModuleOffer {
    // The library loaded and passed the checks of its information record.
    bool Loads = false;
    // The rule it broke, which ended its loading (CVM100 to CVM106), with
    // the system's words for a library that could not be loaded; empty
    // codes for a module that loaded whole.
    std::string FailureCode;
    std::string FailureReason;
    TOfferedInfo Info;
    // The constants and functions it entered, in its tables' order.
    std::vector<TOfferedConstant> Constants;
    std::vector<TOfferedFunction> Functions;
    // Whether loading reached its function table and the output callback.
    bool FunctionsEntered = false;
    bool OutputConnected = false;
    // A tokenizer, with the start characters it declares, if it does.
    bool Tokenizer = false;
    bool DeclaresTokenStarts = false;
    std::string TokenStarts;
    bool operator==(const TModuleOffer&) const = default;
};

}  // namespace quenmark
