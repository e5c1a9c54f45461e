#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "definitions/messages.h"
#include "definitions/unit_group_list.h"
#include "platform/installed_layout.h"

namespace quenmark {

// A language: a ".lng" definition file that names the language and the
// message, unit and help files that carry everything language-dependent,
// or the built-in English language that needs no file. The language owns
// its message catalogue and unit definitions, each made on first request.
// Its files are read through the context it is made with, which must
// outlive it.
class TCCLanguage {
public:
    static constexpr const char* Purpose = "Quenmark Version 1.1 Language Definition File";
    static constexpr const char* InvalidFileMessage = "Invalid Language File.";

    // The built-in English language; its files are looked up in directory.
    static std::unique_ptr<TCCLanguage> CreateBuiltIn(const TCCContext& context,
                                                      const std::string& directory = DataDirectory());
    // The language of the named file in directory. Throws Exception with
    // "Invalid Language File." when the header does not match.
    static std::unique_ptr<TCCLanguage> CreateFromFile(const TCCContext& context, const std::string& fileName,
                                                       const std::string& directory = DataDirectory());

    const std::string& FileName() const { return FFileName; }
    const std::string& Language() const { return FLanguage; }
    int32_t LangID() const { return FLangID; }
    bool IsBuiltIn() const { return FFileName.empty(); }
    std::string FullPath() const;

    // Read from the file at every call, with the defaults of the built-in
    // language for a missing key.
    std::string Comment() const;
    std::string DialogFontName() const;
    int32_t DialogFontSize() const;
    std::string HelpFileName() const;
    std::string MessageFileName() const;
    std::string UnitFileName() const;

    TCCLanguage(const TCCLanguage&) = delete;
    TCCLanguage& operator=(const TCCLanguage&) = delete;
    ~TCCLanguage();

    // The catalogue of MessageFileName(), made on the first call.
    TCCMessages& GetMessages();
    // The units of UnitFileName(), read on the first successful call. A
    // unit file that fails to load throws, and the next call tries again.
    TCCUnitGroupList& GetUnits();

private:
    TCCLanguage(const TCCContext& context, std::string fileName, std::string directory);
    std::string ReadString(const char* key, const char* defaultValue) const;

    const TCCContext& FContext;
    std::string FFileName;
    std::string FDirectory;
    std::string FLanguage = "English";
    int32_t FLangID = 1033;
    std::unique_ptr<TCCMessages> FMessages;
    std::unique_ptr<TCCUnitGroupList> FUnits;
};

}  // namespace quenmark
