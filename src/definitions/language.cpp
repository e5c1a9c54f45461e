#include "definitions/language.h"

#include "definitions/full_path.h"
#include "definitions/profile.h"
#include "base/exception.h"

namespace quenmark {

namespace {
constexpr const char* LanguageSection = "Language";
constexpr int32_t DefaultDialogFontSize = 9;
}  // namespace

TCCLanguage::TCCLanguage(const TCCContext& context, std::string fileName, std::string directory)
    : FContext(context), FFileName(std::move(fileName)), FDirectory(std::move(directory)) {}

TCCLanguage::~TCCLanguage() = default;

std::unique_ptr<TCCLanguage> TCCLanguage::CreateBuiltIn(const TCCContext& context, const std::string& directory) {
    return std::unique_ptr<TCCLanguage>(new TCCLanguage(context, {}, directory));
}

std::unique_ptr<TCCLanguage> TCCLanguage::CreateFromFile(const TCCContext& context, const std::string& fileName,
                                                         const std::string& directory) {
    std::unique_ptr<TCCLanguage> language(new TCCLanguage(context, fileName, directory));
    const std::string path = language->FullPath();
    std::string purpose;
    ReadProfileString(context, path, "Information", "Purpose", purpose);
    if (purpose != Purpose) throw Exception(InvalidFileMessage);
    ReadProfileString(context, path, LanguageSection, "Language", language->FLanguage);
    ReadProfileInteger(context, path, LanguageSection, "LangID", language->FLangID);
    return language;
}

std::string TCCLanguage::FullPath() const { return quenmark::FullPath(FDirectory, FFileName); }

std::string TCCLanguage::ReadString(const char* key, const char* defaultValue) const {
    std::string value = defaultValue;
    if (!IsBuiltIn()) ReadProfileString(FContext, FullPath(), LanguageSection, key, value);
    return value;
}

std::string TCCLanguage::Comment() const { return ReadString("Comment", ""); }
std::string TCCLanguage::DialogFontName() const { return ReadString("DialogFontName", "Arial"); }
std::string TCCLanguage::HelpFileName() const { return ReadString("HelpFileName", "Quenmark.hlp"); }
std::string TCCLanguage::MessageFileName() const { return ReadString("MessageFileName", "Quenmark.msg"); }
std::string TCCLanguage::UnitFileName() const { return ReadString("UnitFileName", "Quenmark.uni"); }

int32_t TCCLanguage::DialogFontSize() const {
    int32_t size = DefaultDialogFontSize;
    if (!IsBuiltIn()) ReadProfileInteger(FContext, FullPath(), LanguageSection, "DialogFontSize", size);
    return size;
}

TCCMessages& TCCLanguage::GetMessages() {
    if (!FMessages) FMessages = std::make_unique<TCCMessages>(FContext, MessageFileName(), FDirectory);
    return *FMessages;
}

TCCUnitGroupList& TCCLanguage::GetUnits() {
    if (!FUnits) FUnits = std::make_unique<TCCUnitGroupList>(FContext, UnitFileName(), FDirectory);
    return *FUnits;
}

}  // namespace quenmark
