#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/program_version.h"

namespace quenmark {


// The fixed part of a version resource.
struct TFixedFileInfo {
    uint32_t FileVersionMS = 0;
    uint32_t FileVersionLS = 0;
    uint32_t ProductVersionMS = 0;
    uint32_t ProductVersionLS = 0;
    uint32_t FileFlagsMask = 0;
    uint32_t FileFlags = 0;
};

// The string values of one translation, named by language and code page as
// eight hexadecimal digits ("040904E4").
struct TVersionStringTable {
    std::string Translation;
    std::vector<std::pair<std::string, std::string>> Values;
};

// A version resource: the fixed information (none when the root block is
// empty), the translation table (language in the low, code page in the high
// 16 bits of each entry) and the string tables.
struct TVersionResource {
    std::optional<TFixedFileInfo> FixedInfo;
    std::vector<uint32_t> Translations;
    std::vector<TVersionStringTable> StringTables;

    bool Empty() const { return !FixedInfo && Translations.empty() && StringTables.empty(); }
};

// The version resource built into the program: the version of
// base/program_version.h (1.1.0.87), no flags.
const TVersionResource& ProgramVersionResource();

// The full path of the running executable; empty when it cannot be read.
std::string ProgramExecutablePath();

// Reads the version information of an executable. Linux executables carry
// no version resource: the running program has the built-in one, every
// other file has none.
class TVerInfo {
public:
    // The message of every failure to read a resource or one of its strings.
    static constexpr const char* NoVersionInfoMessage = "バージョン情報が取得できません.";
    // The message when the fixed information is empty.
    static constexpr const char* NoRootBlockMessage = "ルートブロックが取得できません.";

    // The resource of the named file. Throws EVerInfo when it has none or
    // the resource has no translation.
    explicit TVerInfo(const std::string& fileName);
    // A resource that has already been read; the same checks.
    explicit TVerInfo(TVersionResource resource);

    // The first translation, four capital hexadecimal digits each.
    const std::string& Language() const { return FLanguage; }
    const std::string& Codepage() const { return FCodepage; }

    // The string at a path such as "\StringFileInfo\040904E4\FileVersion",
    // up to its first zero byte, without blanks and control characters at
    // either end. Throws EVerInfo when the path names no string.
    std::string QueryValue(const std::string& subBlock) const;
    std::string FileVersion() const;
    std::string LegalCopyright() const;

    // The file flags of the fixed information. Throws EVerInfo when the
    // root block is empty.
    uint32_t FileFlags() const;
    bool IsDebugBuild() const { return (FileFlags() & 0x1u) != 0; }
    bool IsPreRelease() const { return (FileFlags() & 0x2u) != 0; }

private:
    void ReadTranslation();
    const std::string* FindString(const std::string& table, const std::string& name) const;

    TVersionResource FBlock;
    std::string FLanguage;
    std::string FCodepage;
};

}  // namespace quenmark
