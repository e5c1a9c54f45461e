#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/language.h"
#include "platform/program_directory.h"

namespace quenmark {

// The languages of a run: one per valid ".lng" file of the program's
// directory, in the order the directory lists them, then the built-in
// English language, always last. The list owns its languages.
class TCCLanguageList {
public:
    static constexpr const char* Extension = ".lng";

    // Fills the list from directory. A language file that cannot be read as
    // one is skipped without a message.
    void Gather(const std::string& directory = ProgramDirectory());

    size_t Count() const { return FLanguages.size(); }
    TCCLanguage& Items(size_t index) const { return *FLanguages.at(index); }
    void Add(std::unique_ptr<TCCLanguage> language) { FLanguages.push_back(std::move(language)); }
    // The position of the language in the list; -1 when it is not in it.
    int IndexOf(const TCCLanguage* language) const;

    // The language to use: the first whose name equals the stored name
    // ("a" to "z" compared as capitals), else the first with the user's
    // language identifier, else the last. The list must not be empty.
    TCCLanguage& Choose(std::string_view storedName, int32_t userLangID) const;

private:
    std::vector<std::unique_ptr<TCCLanguage>> FLanguages;
};

}  // namespace quenmark
