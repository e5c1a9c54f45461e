#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

class TCCInterpreter;
class TVMModuleList;

// What a candidate names. Candidates come in this order of kinds, each
// kind sorted by name without regard to letter case: what the user made
// comes first, then what the modules offer, then the commands.
enum class TCandidateKind : uint8_t { Variable, Function, Constant, Command };

struct TCompletionCandidate {
    TCandidateKind Kind = TCandidateKind::Variable;
    // As the table spells it; a command with its "@".
    std::string Name;
    // What replaces the typed name: a function gets its opening parenthesis
    // (both parentheses when it takes no argument), a command that takes an
    // argument a blank.
    std::string Insert;
    // A function's or constant's description as its module gives it, a
    // variable's value as "@VAR" shows it, a command's line of the "@" help.
    std::string Description;
    // Whether the description is a module's own text, which modules give
    // in English only.
    bool DescribedByModule = false;

    bool operator==(const TCompletionCandidate&) const = default;
};

// The name that ends at the cursor: an identifier, or "@" and a command
// word when the "@" opens the line. Nothing inside a string literal or a
// number ("0x1F").
struct TTypedName {
    size_t Start = 0;
    std::string Text;
};
TTypedName TypedNameAt(std::string_view line, size_t cursor);

// Candidates are offered from two typed characters on. The "@" of a
// command counts as one of them: "@h" offers the commands beginning with H
// (there are few and their words are short), while "@" alone offers
// nothing, so that "@" and Enter still shows the help.
inline constexpr size_t CompletionMinimumLength = 2;

// The line after a candidate replaced the typed name, with the cursor
// after the inserted text. A parenthesis already there after the cursor is
// not doubled.
struct TCompletedLine {
    std::string Text;
    size_t Cursor = 0;
};
TCompletedLine ApplyCandidate(std::string_view line, size_t cursor, const TCompletionCandidate& candidate);

// The names a line can use at the moment: the interpreter's variables,
// constants and functions, and the command words. Reads the tables afresh
// on every call, so that new variables show at once.
class TNameCompletion {
public:
    // The modules give the constants' descriptions; may be none.
    TNameCompletion(TCCInterpreter& interpreter, const TVMModuleList* modules);

    // The candidates whose name starts with the typed text, without regard
    // to letter case; none for a text shorter than CompletionMinimumLength.
    std::vector<TCompletionCandidate> Candidates(std::string_view typed) const;
    // The candidates for the name that ends at the cursor.
    std::vector<TCompletionCandidate> CandidatesAt(std::string_view line, size_t cursor) const;

private:
    void AddNames(std::string_view upperPrefix, std::vector<TCompletionCandidate>& found) const;
    void AddCommands(std::string_view upperPrefix, std::vector<TCompletionCandidate>& found) const;
    std::string ConstantDescription(std::string_view name) const;

    TCCInterpreter& FInterpreter;
    const TVMModuleList* FModules;
};

}  // namespace quenmark
