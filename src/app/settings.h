#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/color_schemes.h"

namespace quenmark {

// The placement of one window in screen pixels, and whether it is shown.
struct TWindowPlacement {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool Show = false;

    bool operator==(const TWindowPlacement&) const = default;
};

// The part of the primary screen that windows may use: the desktop less
// panels and task bars.
struct TWorkArea {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// Reports the work area, or nothing when there is no display. The desktop
// program passes one that asks its screen; without one the default window
// position is 0,0.
using TWorkAreaSource = std::function<std::optional<TWorkArea>()>;

// Every user preference of the calculator, kept in the user settings file.
// The windows change the fields directly while the program runs.
class TSettings {
public:
    static constexpr int32_t DefaultMainWidth = 350;
    static constexpr int32_t DefaultMainHeight = 110;

    // Sets the defaults; fileName is the settings file (GetSettingsFileName()).
    explicit TSettings(std::string fileName, const TWorkAreaSource& workArea = nullptr);

    // Reads the file into the fields. A missing file or one whose header is
    // not accepted leaves every field as it is; a missing key keeps its
    // field. With StayResident off the main window is always shown.
    void Load();

    // Writes every field in one atomic replacement of the file, creating the
    // file and its directory where missing and turning the header into the
    // current version's. Other sections and keys are kept. Returns whether
    // the file was written; a file that cannot be written stays as it was.
    bool Save() const;

    const std::string& FileName() const { return FFileName; }
    bool IsSettingsFileValid() const;

    TWindowPlacement MainPlacement;
    TWindowPlacement UnitPlacement;
    int32_t MaxLogLine = 100;
    int32_t MaxHistory = 50;
    bool SaveHistory = true;
    bool SaveVariables = true;
    bool AutoUnit = true;
    bool AlwaysOnTop = true;
    bool StayResident = true;
    bool SnapAtEdge = true;
    bool WindowAnime = true;
    bool Splash = true;
    int32_t AlphaActive = 255;
    int32_t AlphaInactive = 192;
    TColorScheme ColorScheme = ColorSchemes()[DefaultColorSchemeIndex];
    std::string FontName = "FixedSys";
    int32_t FontSize = 14;
    std::string Language = "*Default";
    uint8_t OutputMode = 0;  // 0 DEC, 1 HEX, 2 OCT, 3 BIN
    std::string OutputFormat;

private:
    void SetDefaultPlacements(const std::optional<TWorkArea>& workArea);

    std::string FFileName;
};

// The default main window placement: the lower right corner of the work
// area, or 0,0 without one; shown.
TWindowPlacement DefaultMainPlacement(const std::optional<TWorkArea>& workArea);

// The default unit-conversion window placement: the main window's size,
// just above it; hidden.
TWindowPlacement DefaultUnitPlacement(const TWindowPlacement& mainPlacement);

}  // namespace quenmark
