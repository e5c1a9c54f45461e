#include "app/saved_functions.h"

#include <map>

#include "app/history_section.h"
#include "app/settings.h"
#include "base/exception.h"
#include "base/names.h"
#include "definitions/profile.h"
#include "expression/interpreter.h"

namespace quenmark {

namespace {

std::vector<std::string> LinesOf(const TVMUserFunctionList& functions) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < functions.Count(); ++i) lines.push_back(EncodeFunctionLine(functions[i]));
    return lines;
}

// Each line by its function's name; a name's first line counts.
std::map<std::string, std::string> ByName(const std::vector<std::string>& lines) {
    std::map<std::string, std::string> byName;
    for (const std::string& line : lines)
        if (auto name = FunctionLineName(line)) byName.emplace(std::move(*name), line);
    return byName;
}

}  // namespace

std::string EncodeFunctionLine(const TVMUserFunction& function) { return EncodeHistoryLine(function.Definition); }

std::optional<std::string> FunctionLineName(std::string_view line) {
    std::string definition;
    try {
        definition = DecodeHistoryLine(line);
    } catch (const Exception&) {
        return std::nullopt;
    }
    const size_t open = definition.find('(');
    if (open == std::string::npos) return std::nullopt;
    std::string_view name = std::string_view(definition).substr(0, open);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (name.empty()) return std::nullopt;
    return UpperCase(name);
}

std::vector<std::string> ReadFunctionsSection(const TSettings& settings, TCCInterpreter& interpreter) {
    std::vector<std::string> notices;
    if (!settings.IsSettingsFileValid()) return notices;
    std::vector<std::string> definitions;
    ForEachSectionLine(settings.Context(), settings.SourceFileName(), FunctionsSection,
                       [&definitions](std::string_view line) { definitions.emplace_back(line); });
    const TCCContext& context = interpreter.Context();
    for (const std::string& line : definitions) {
        std::string definition;
        try {
            definition = DecodeHistoryLine(line);
            interpreter.DefineFunction(definition);
        } catch (const Exception& error) {
            const std::string shown = definition.empty() ? line : definition;
            notices.push_back(context.GetTextWith("INT187", shown + " (" + error.what() + ")"));
        }
    }
    return notices;
}

std::vector<std::string> MergeFunctionLines(const std::vector<std::string>& fileLines,
                                            const std::vector<std::string>& baseline,
                                            const std::vector<std::string>& current) {
    const std::map<std::string, std::string> before = ByName(baseline);
    const std::map<std::string, std::string> now = ByName(current);
    const auto lineOf = [](const std::map<std::string, std::string>& lines, const std::string& name) {
        const auto found = lines.find(name);
        return found == lines.end() ? std::optional<std::string>() : std::optional<std::string>(found->second);
    };
    const auto changed = [&](const std::string& name) { return lineOf(before, name) != lineOf(now, name); };
    std::vector<std::string> merged;
    std::map<std::string, bool> written;
    const auto writeOurs = [&](const std::string& name) {
        if (written[name]) return;
        written[name] = true;
        if (const auto line = lineOf(now, name)) merged.push_back(*line);
    };
    for (const std::string& line : fileLines) {
        const auto name = FunctionLineName(line);
        if (!name || !changed(*name)) merged.push_back(line);
        else writeOurs(*name);
    }
    for (const std::string& line : current)
        if (const auto name = FunctionLineName(line); name && changed(*name)) writeOurs(*name);
    return merged;
}

void TFunctionChanges::NoteSaved(const TVMUserFunctionList& functions) {
    FSavedLines = LinesOf(functions);
    FSavedAtChange = functions.Changes();
}

TSectionMerge TFunctionChanges::Merge(const TVMUserFunctionList& functions) const {
    return [this, &functions](const TSectionLines& fileLines, const TLineVisitor& out) {
        if (FSavedAtChange == functions.Changes()) return fileLines(out);
        std::vector<std::string> lines;
        fileLines([&lines](std::string_view line) { lines.emplace_back(line); });
        for (const std::string& line : MergeFunctionLines(lines, FSavedLines, LinesOf(functions))) out(line);
    };
}

void TFunctionChanges::MergeInto(TProfileText& file, const TVMUserFunctionList& functions) const {
    if (!Changed(functions)) return;
    std::vector<std::string> lines;
    const TSectionLines fileLines = [&file](const TLineVisitor& visit) {
        ForEachSectionLine(file, FunctionsSection, visit);
    };
    Merge(functions)(fileLines, [&lines](std::string_view line) { lines.emplace_back(line); });
    ReplaceSectionLines(file, FunctionsSection, lines);
}

}  // namespace quenmark
