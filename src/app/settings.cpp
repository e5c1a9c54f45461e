#include "app/settings.h"

#include <sys/stat.h>

#include <cerrno>

#include "app/settings_file.h"
#include "definitions/profile.h"
#include "definitions/profile_cache.h"
#include "platform/program_directory.h"

namespace quenmark {

namespace {

void VisitPlacement(const char* section, auto& placement, auto& visitor) {
    visitor.Integer(section, "Left", placement.Left);
    visitor.Integer(section, "Top", placement.Top);
    visitor.Integer(section, "Width", placement.Width);
    visitor.Integer(section, "Height", placement.Height);
    visitor.Bool(section, "Show", placement.Show);
}

// Every key of the settings sections, in the order Save writes them; Load
// reads the same list and skips the keys that are written only.
void VisitKeys(auto& settings, auto& visitor) {
    visitor.Fixed("Information", "Purpose", SettingsPurpose11);
    visitor.Fixed("Information", "Language", "None");
    visitor.Fixed("Information", "Codepage", "1252");
    VisitPlacement("Quen", settings.MainPlacement, visitor);
    VisitPlacement("UniConv", settings.UnitPlacement, visitor);
    visitor.LoginName("Others", "User");
    visitor.Text("Others", "ColorName", settings.ColorScheme.ColorName);
    visitor.Color("Others", "BaseColor", settings.ColorScheme.BaseColor);
    visitor.Color("Others", "DarkColor", settings.ColorScheme.DarkColor);
    visitor.Color("Others", "TextColor", settings.ColorScheme.TextColor);
    visitor.Integer("Others", "Icon", settings.ColorScheme.Icon);
    visitor.Text("Others", "FontName", settings.FontName);
    visitor.Integer("Others", "FontSize", settings.FontSize);
    visitor.Integer("Others", "MaxHistory", settings.MaxHistory);
    visitor.Integer("Others", "MaxLogLine", settings.MaxLogLine);
    visitor.Bool("Others", "SaveHistory", settings.SaveHistory);
    visitor.Bool("Others", "SaveVariables", settings.SaveVariables);
    visitor.Bool("Others", "AutoUnit", settings.AutoUnit);
    visitor.Bool("Others", "AlwaysOnTop", settings.AlwaysOnTop);
    visitor.Bool("Others", "StayResident", settings.StayResident);
    visitor.Bool("Others", "SnapAtEdge", settings.SnapAtEdge);
    visitor.Bool("Others", "WindowAnime", settings.WindowAnime);
    visitor.Bool("Others", "Splash", settings.Splash);
    visitor.Integer("Others", "AlphaActive", settings.AlphaActive);
    visitor.Integer("Others", "AlphaInactive", settings.AlphaInactive);
    visitor.Text("Others", "Language", settings.Language);
    visitor.Byte("Others", "OutputMode", settings.OutputMode);
    visitor.Text("Others", "OutputFormat", settings.OutputFormat);
}

// Reads each key with the field's current value as the default.
struct TKeyReader {
    const std::string& File;

    void Fixed(const char*, const char*, const char*) {}
    void LoginName(const char*, const char*) {}
    void Integer(const char* section, const char* key, int32_t& value) {
        ReadProfileInteger(File, section, key, value);
    }
    void Bool(const char* section, const char* key, bool& value) { ReadProfileBool(File, section, key, value); }
    void Text(const char* section, const char* key, std::string& value) {
        ReadProfileString(File, section, key, value);
    }
    void Color(const char* section, const char* key, uint32_t& value) {
        int32_t stored = static_cast<int32_t>(value);
        ReadProfileInteger(File, section, key, stored);
        value = static_cast<uint32_t>(stored);
    }
    // Read as a 32-bit number; only the low eight bits are kept.
    void Byte(const char* section, const char* key, uint8_t& value) {
        int32_t stored = value;
        ReadProfileInteger(File, section, key, stored);
        value = static_cast<uint8_t>(stored & 0xFF);
    }
};

// The readers trim a value and drop one outer pair of matching quotes; a
// value that would lose something that way is written inside one more pair
// of quotes, so that it reads back as it was.
std::string StoredText(const std::string& value) {
    if (value.empty()) return value;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (quoted || isBlank(value.front()) || isBlank(value.back())) return '"' + value + '"';
    return value;
}

struct TKeyWriter {
    TProfileText& File;
    std::string User;

    void Fixed(const char* section, const char* key, const char* text) { File.SetValue(section, key, text); }
    void LoginName(const char* section, const char* key) { File.SetValue(section, key, StoredText(User)); }
    void Integer(const char* section, const char* key, int32_t value) {
        File.SetValue(section, key, std::to_string(value));
    }
    void Bool(const char* section, const char* key, bool value) { File.SetValue(section, key, value ? "Yes" : "No"); }
    void Text(const char* section, const char* key, const std::string& value) {
        File.SetValue(section, key, StoredText(value));
    }
    void Color(const char* section, const char* key, uint32_t value) { Integer(section, key, static_cast<int32_t>(value)); }
    void Byte(const char* section, const char* key, uint8_t value) { Integer(section, key, value); }
};

// Creates the missing directories of a path ending in "/", each readable by
// its owner only, as for a user's configuration directory.
void CreateMissingDirectories(const std::string& directory) {
    for (size_t slash = directory.find('/', 1); slash != std::string::npos; slash = directory.find('/', slash + 1)) {
        const std::string part = directory.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return;
    }
}

}  // namespace

TWindowPlacement DefaultMainPlacement(const std::optional<TWorkArea>& workArea) {
    TWindowPlacement placement;
    placement.Width = TSettings::DefaultMainWidth;
    placement.Height = TSettings::DefaultMainHeight;
    if (workArea) {
        placement.Left = workArea->Left + workArea->Width - placement.Width;
        placement.Top = workArea->Top + workArea->Height - placement.Height;
    }
    placement.Show = true;
    return placement;
}

TWindowPlacement DefaultUnitPlacement(const TWindowPlacement& mainPlacement) {
    TWindowPlacement placement;
    placement.Width = mainPlacement.Width;
    placement.Height = mainPlacement.Height;
    placement.Left = mainPlacement.Left;
    placement.Top = mainPlacement.Top - mainPlacement.Height - 1;
    placement.Show = false;
    return placement;
}

TSettings::TSettings(std::string fileName, const TWorkAreaSource& workArea) : FFileName(std::move(fileName)) {
    SetDefaultPlacements(workArea ? workArea() : std::nullopt);
}

void TSettings::SetDefaultPlacements(const std::optional<TWorkArea>& workArea) {
    MainPlacement = DefaultMainPlacement(workArea);
    UnitPlacement = DefaultUnitPlacement(MainPlacement);
}

bool TSettings::IsSettingsFileValid() const { return quenmark::IsSettingsFileValid(FFileName); }

void TSettings::Load() {
    if (!IsSettingsFileValid()) return;
    TKeyReader reader{FFileName};
    VisitKeys(*this, reader);
    if (!StayResident) MainPlacement.Show = true;
}

bool TSettings::Save() const {
    CreateMissingDirectories(DirectoryOfPath(FFileName));
    const std::string user = GetLoginUserName();
    return DefinitionFileCache().Update(FFileName, true, [&](TProfileText& file) {
        TKeyWriter writer{file, user};
        VisitKeys(*this, writer);
        return true;
    });
}

}  // namespace quenmark
