#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_lookup.h"
#include "definitions/language.h"
#include "platform/installed_layout.h"

namespace quenmark {

// The languages of a run: one per valid ".lng" file of the program's
// directory, in the order the directory lists them, then the built-in
// English language, always last. The list owns its languages.
//
// One of them may be in force: the list's messages are that language's
// catalogue (none while no language is chosen). The application makes the
// list its context's message source, so choosing a language is the one step
// that changes every text the core looks up.
class TCCLanguageList : public MessageSource {
public:
    static constexpr const char* Extension = ".lng";

    // Fills the list from directory, the languages reading their files
    // through the context. A language file that cannot be read as one is
    // skipped without a message.
    void Gather(const TCCContext& context, const std::string& directory = DataDirectory());

    size_t Count() const { return FLanguages.size(); }
    TCCLanguage& Items(size_t index) const { return *FLanguages.at(index); }
    void Add(std::unique_ptr<TCCLanguage> language) { FLanguages.push_back(std::move(language)); }
    // The position of the language in the list; -1 when it is not in it.
    int IndexOf(const TCCLanguage* language) const;

    // The language to use: the first whose name equals the stored name
    // ("a" to "z" compared as capitals), else the first with the user's
    // language identifier, else the last. The list must not be empty.
    TCCLanguage& Choose(std::string_view storedName, int32_t userLangID) const;

    // The language in force; null until one is chosen.
    TCCLanguage* Current() const { return FCurrent; }
    // Puts one of the list's languages in force, or none for null. Throws
    // std::invalid_argument for a language of another list.
    void Select(TCCLanguage* language);

    // The texts of the language in force.
    std::optional<std::string> Text(std::string_view code) const override;
    std::optional<std::string> TextWith(std::string_view code, std::string_view argument) const override;
    // The text, or the code itself without a language or a text.
    std::string GetText(std::string_view code) const;

private:
    std::vector<std::unique_ptr<TCCLanguage>> FLanguages;
    TCCLanguage* FCurrent = nullptr;
};

}  // namespace quenmark
