#include "app/name_completion.h"

#include <algorithm>

#include "base/names.h"
#include "expression/command_words.h"
#include "expression/interpreter.h"
#include "expression/result_format.h"
#include "vm/module_list.h"

namespace quenmark {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }

// A variable's value in the popup is a reminder, not the whole value.
constexpr size_t MaxValueLength = 60;

bool StartsWithUpper(std::string_view name, std::string_view upperPrefix) {
    return name.size() >= upperPrefix.size() && UpperCase(name.substr(0, upperPrefix.size())) == upperPrefix;
}

bool InsideStringLiteral(std::string_view line, size_t position) {
    return std::count(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(position), '"') % 2 == 1;
}

bool OpensLine(std::string_view line, size_t position) {
    return line.substr(0, position).find_first_not_of(' ') == std::string_view::npos;
}

std::string ValueText(const Variant& value, const NumberSeparators& separators) {
    std::string text = QuotedOrPlainText(value, separators);
    if (text.size() > MaxValueLength) text = text.substr(0, MaxValueLength - 3) + "...";
    return text;
}

std::string FunctionInsert(const TVMCallable& callable) {
    return callable.Name + (callable.ArgCount == 0 ? "()" : "(");
}

void SortByKindThenName(std::vector<TCompletionCandidate>& candidates) {
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        if (a.Kind != b.Kind) return a.Kind < b.Kind;
        return UpperCase(a.Name) < UpperCase(b.Name);
    });
}

}  // namespace

TTypedName TypedNameAt(std::string_view line, size_t cursor) {
    cursor = std::min(cursor, line.size());
    size_t start = cursor;
    while (start > 0 && IsNameChar(line[start - 1])) --start;
    if (start < cursor && IsDigit(line[start])) return {};
    if (InsideStringLiteral(line, start)) return {};
    if (start > 0 && line[start - 1] == '@') {
        if (!OpensLine(line, start - 1)) return {};
        --start;
    }
    return {start, std::string(line.substr(start, cursor - start))};
}

TCompletedLine ApplyCandidate(std::string_view line, size_t cursor, const TCompletionCandidate& candidate) {
    cursor = std::min(cursor, line.size());
    const TTypedName typed = TypedNameAt(line, cursor);
    std::string insert = candidate.Insert;
    size_t end = cursor;
    // "SI|(x)" becomes "SIN(|x)" rather than "SIN((x)".
    if (candidate.Kind == TCandidateKind::Function && cursor < line.size() && line[cursor] == '(') {
        insert = candidate.Name + "(";
        ++end;
    }
    std::string text(line.substr(0, typed.Start));
    text += insert;
    const size_t newCursor = text.size();
    text += line.substr(end);
    return {std::move(text), newCursor};
}

TNameCompletion::TNameCompletion(TCCInterpreter& interpreter, const TVMModuleList* modules)
    : FInterpreter(interpreter), FModules(modules) {}

std::vector<TCompletionCandidate> TNameCompletion::Candidates(std::string_view typed) const {
    std::vector<TCompletionCandidate> found;
    if (typed.size() < CompletionMinimumLength) return found;
    if (typed.front() == '@') AddCommands(UpperCase(typed.substr(1)), found);
    else AddNames(UpperCase(typed), found);
    SortByKindThenName(found);
    return found;
}

std::vector<TCompletionCandidate> TNameCompletion::CandidatesAt(std::string_view line, size_t cursor) const {
    return Candidates(TypedNameAt(line, cursor).Text);
}

void TNameCompletion::AddNames(std::string_view upperPrefix, std::vector<TCompletionCandidate>& found) const {
    const NumberSeparators& separators = FInterpreter.Context().Separators();
    const TVMVariableList& variables = FInterpreter.Variables();
    for (size_t i = 0; i < variables.Count(); ++i) {
        const TVMVariable& variable = variables[i];
        if (!StartsWithUpper(variable.UpperName, upperPrefix)) continue;
        if (variable.IsConstant)
            found.push_back(
                {TCandidateKind::Constant, variable.Name, variable.Name, ConstantDescription(variable.UpperName), true});
        else
            found.push_back({TCandidateKind::Variable, variable.Name, variable.Name, ValueText(variable.Value, separators)});
    }
    const TVMCallableList& callables = FInterpreter.Callables();
    for (size_t i = 0; i < callables.Count(); ++i) {
        const TVMCallable& callable = callables[i];
        if (StartsWithUpper(callable.UpperName, upperPrefix))
            found.push_back({TCandidateKind::Function, callable.Name, FunctionInsert(callable), callable.Description, true});
    }
    const TVMBuiltinFunctionList& builtins = FInterpreter.BuiltinFunctions();
    for (size_t i = 0; i < builtins.Count(); ++i) {
        const TVMBuiltinFunction& builtin = builtins[i];
        if (StartsWithUpper(builtin.UpperName, upperPrefix))
            found.push_back({TCandidateKind::Function, builtin.Name, builtin.Name + "(", builtin.Description});
    }
    // The user's functions, described by their definitions.
    const TVMUserFunctionList& functions = FInterpreter.UserFunctions();
    for (size_t i = 0; i < functions.Count(); ++i) {
        const TVMUserFunction& function = functions[i];
        if (StartsWithUpper(function.UpperName, upperPrefix))
            found.push_back({TCandidateKind::Function, function.Name,
                             function.Name + (function.Parameters.empty() ? "()" : "("), function.Definition});
    }
}

void TNameCompletion::AddCommands(std::string_view upperPrefix, std::vector<TCompletionCandidate>& found) const {
    for (const TCommandWord& command : CommandWords()) {
        if (!StartsWithUpper(command.Word, upperPrefix)) continue;
        const std::string name = std::string("@") + command.Word;
        found.push_back({TCandidateKind::Command, name, command.TakesArgument ? name + " " : name,
                         FInterpreter.Context().GetText(command.HelpCode)});
    }
}

// The description that the module of a constant gives it; the module
// that registered the name last wins, as in the variable table. A module
// that waits to be needed gives the one it gave when it was indexed.
std::string TNameCompletion::ConstantDescription(std::string_view upperName) const {
    return FModules ? FModules->ConstantDescription(upperName) : std::string();
}

}  // namespace quenmark
