#include "definitions/language_list.h"

#include "platform/file_listing.h"
#include "base/exception.h"
#include "base/names.h"

namespace quenmark {

void TCCLanguageList::Gather(const std::string& directory) {
    for (const std::string& fileName : ListFilesWithExtension(directory, Extension)) {
        try {
            Add(TCCLanguage::CreateFromFile(fileName, directory));
        } catch (const Exception&) {
            // not a language file: left out
        }
    }
    Add(TCCLanguage::CreateBuiltIn(directory));
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

}  // namespace quenmark
