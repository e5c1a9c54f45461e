#include "definitions/language_list.h"

#include <stdexcept>

#include "platform/file_listing.h"
#include "base/exception.h"
#include "base/names.h"

namespace quenmark {

void TCCLanguageList::Gather(const TCCContext& context, const std::string& directory) {
    for (const std::string& fileName : ListFilesWithExtension(directory, Extension)) {
        try {
            Add(TCCLanguage::CreateFromFile(context, fileName, directory));
        } catch (const Exception&) {
            // not a language file: left out
        }
    }
    Add(TCCLanguage::CreateBuiltIn(context, directory));
}

int TCCLanguageList::IndexOf(const TCCLanguage* language) const {
    for (size_t i = 0; i < FLanguages.size(); ++i)
        if (FLanguages[i].get() == language) return static_cast<int>(i);
    return -1;
}

TCCLanguage& TCCLanguageList::Choose(std::string_view storedName, int32_t userLangID) const {
    const std::string wanted = UpperCase(storedName);
    for (const auto& language : FLanguages)
        if (UpperCase(language->Language()) == wanted) return *language;
    for (const auto& language : FLanguages)
        if (language->LangID() == userLangID) return *language;
    return *FLanguages.at(FLanguages.size() - 1);
}

void TCCLanguageList::Select(TCCLanguage* language) {
    if (language && IndexOf(language) < 0) throw std::invalid_argument("a language of another list");
    FCurrent = language;
}

std::optional<std::string> TCCLanguageList::Text(std::string_view code) const {
    if (!FCurrent) return std::nullopt;
    return FCurrent->GetMessages().Text(code);
}

std::optional<std::string> TCCLanguageList::TextWith(std::string_view code, std::string_view argument) const {
    if (!FCurrent) return std::nullopt;
    return FCurrent->GetMessages().TextWith(code, argument);
}

std::string TCCLanguageList::GetText(std::string_view code) const { return Text(code).value_or(std::string(code)); }

}  // namespace quenmark
