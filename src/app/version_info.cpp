#include "app/version_info.h"

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "base/exception.h"
#include "base/names.h"

namespace quenmark {

namespace {

[[noreturn]] void FailNoVersionInfo() { throw EVerInfo(TVerInfo::NoVersionInfoMessage); }

TVersionResource BuildProgramResource() {
    TVersionResource resource;
    TFixedFileInfo fixed;
    fixed.FileVersionMS = (uint32_t{VersionMajor} << 16) | VersionMinor;
    fixed.FileVersionLS = (uint32_t{VersionPatch} << 16) | VersionBuild;
    fixed.ProductVersionMS = fixed.FileVersionMS;
    fixed.ProductVersionLS = fixed.FileVersionLS;
    fixed.FileFlagsMask = 0x3Fu;
    fixed.FileFlags = 0;
    resource.FixedInfo = fixed;
    resource.Translations = {0x04E40409u};  // U.S. English, code page 1252
    resource.StringTables = {{"040904E4",
                              {{"CompanyName", ""},
                               {"FileDescription", "Quenmark, the Expression Calculator."},
                               {"FileVersion", FileVersionText},
                               {"InternalName", ProductNameText},
                               {"LegalCopyright", "Copyright (C) 2003-2025 The Quenmark developers."},
                               {"OriginalFilename", "Quenmark.exe"},
                               {"ProductName", ProductNameText},
                               {"ProductVersion", ProductVersionText}}}};
    return resource;
}

// The non-empty names between the backslashes of a resource path; names
// compare without regard to letter case.
std::vector<std::string> PathNames(const std::string& path) {
    std::vector<std::string> names;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty()) names.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) names.push_back(std::move(current));
    return names;
}

std::string HexWord(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFFu);
    return text;
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7F'; }

// Up to the first zero byte, trimmed of blanks and control characters.
std::string CleanValue(const std::string& value) {
    std::string text = value.substr(0, value.find('\0'));
    size_t first = 0;
    while (first < text.size() && IsBlankOrControl(text[first])) ++first;
    size_t last = text.size();
    while (last > first && IsBlankOrControl(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

const TVersionResource& ProgramVersionResource() {
    static const TVersionResource resource = BuildProgramResource();
    return resource;
}

std::string ProgramExecutablePath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

TVerInfo::TVerInfo(const std::string& fileName) {
    if (!IsSameFile(fileName, ProgramExecutablePath())) FailNoVersionInfo();
    FBlock = ProgramVersionResource();
    ReadTranslation();
}

TVerInfo::TVerInfo(TVersionResource resource) : FBlock(std::move(resource)) {
    if (FBlock.Empty()) FailNoVersionInfo();
    ReadTranslation();
}

void TVerInfo::ReadTranslation() {
    if (FBlock.Translations.empty()) FailNoVersionInfo();
    const uint32_t first = FBlock.Translations.front();
    FLanguage = HexWord(first & 0xFFFFu);
    FCodepage = HexWord(first >> 16);
}

const std::string* TVerInfo::FindString(const std::string& table, const std::string& name) const {
    for (const TVersionStringTable& strings : FBlock.StringTables) {
        if (!SameName(strings.Translation, table)) continue;
        for (const auto& [key, value] : strings.Values)
            if (SameName(key, name)) return &value;
    }
    return nullptr;
}

std::string TVerInfo::QueryValue(const std::string& subBlock) const {
    const std::vector<std::string> names = PathNames(subBlock);
    if (names.size() != 3 || !SameName(names[0], "StringFileInfo")) FailNoVersionInfo();
    const std::string* value = FindString(names[1], names[2]);
    if (!value) FailNoVersionInfo();
    if (value->empty()) return {};
    return CleanValue(*value);
}

std::string TVerInfo::FileVersion() const {
    return QueryValue("\\StringFileInfo\\" + FLanguage + FCodepage + "\\FileVersion");
}

std::string TVerInfo::LegalCopyright() const {
    return QueryValue("\\StringFileInfo\\" + FLanguage + FCodepage + "\\LegalCopyright");
}

uint32_t TVerInfo::FileFlags() const {
    if (!FBlock.FixedInfo) throw EVerInfo(NoRootBlockMessage);
    return FBlock.FixedInfo->FileFlags;
}

}  // namespace quenmark
