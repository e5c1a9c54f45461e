#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/color_schemes.h"
#include "app/settings_save.h"
#include "definitions/profile_text.h"

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

    // Sets the defaults; fileName is the settings file (the run's context
    // names it: TCCContext::SettingsFileName). The file is read and written
    // through the context, which must outlive the settings; the first form
    // has a default context of its own (no store: every read goes to the
    // file; no messages: a reason is its code).
    explicit TSettings(std::string fileName, const TWorkAreaSource& workArea = nullptr);
    TSettings(const TCCContext& context, std::string fileName, const TWorkAreaSource& workArea = nullptr);

    const TCCContext& Context() const { return *FContext; }

    // Reads the file into the fields under the file's shared lock, where a
    // save made the lock file (reading creates none). A missing file or one
    // whose header is not accepted leaves every field as it is; a missing
    // key keeps its field. A file that is there but not accepted is moved
    // aside (DamagedFileMovedTo). With StayResident off the main window is
    // always shown.
    void Load();
    // For a run that never saves: Load then leaves a damaged file where it is.
    bool ReadOnly = false;

    // Saves the fields in one locked, atomic replacement of the file,
    // creating the file and its directory where missing and turning the
    // header into the current version's. Fields this copy changed since it
    // loaded or last saved win; the others keep what the file holds, so
    // another copy's changes survive. Other sections and keys are kept.
    // Returns whether the file was written; otherwise it stays as it was.
    bool Save() const;
    // Save, telling why it failed in the context's messages.
    TSaveOutcome SaveReporting() const;

    // The keys of the fields into a file's contents, merged as Save does.
    void StoreInto(TProfileText& file) const;
    // After a save of StoreInto's result: the current fields become the
    // baseline of the next merge, and the file is read from its own place.
    void NoteSaved() const;
    // Whether a field differs from what the last load or save left.
    bool ChangedSinceSaved() const { return RenderedKeys() != FBaseline; }

    // The file saves go to.
    const std::string& FileName() const { return FFileName; }
    // The file the settings, variables and history are read from: FileName,
    // or an older file that FileName takes over at its first save.
    const std::string& SourceFileName() const { return FSourceFileName; }
    void ReadFrom(std::string sourceFileName);
    bool IsSettingsFileValid() const;
    // Where Load moved a settings file that failed validation; empty when
    // nothing was moved.
    const std::string& DamagedFileMovedTo() const { return FMovedAsideTo; }

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
    // The main window offers the names that start with what is typed.
    bool AutoComplete = true;

private:
    TSettings(std::shared_ptr<const TCCContext> ownContext, const TCCContext* context, std::string fileName,
              const TWorkAreaSource& workArea);
    void SetDefaultPlacements(const std::optional<TWorkArea>& workArea);
    void SetDamagedFileAside();
    std::vector<std::string> RenderedKeys() const;
    void MarkSaved() const;

    // The default context, when none was given; FContext points to it.
    std::shared_ptr<const TCCContext> FOwnContext;
    const TCCContext* FContext;
    std::string FFileName;
    // Saving is logically const: it changes the file, and with it what the
    // next save compares against and where the next read looks.
    mutable std::string FSourceFileName;
    // Every key's stored text as last loaded or saved, in the order the
    // keys are visited.
    mutable std::vector<std::string> FBaseline;
    std::string FMovedAsideTo;
};

// The default main window placement: the lower right corner of the work
// area, or 0,0 without one; shown.
TWindowPlacement DefaultMainPlacement(const std::optional<TWorkArea>& workArea);

// The default unit-conversion window placement: the main window's size,
// just above it; hidden.
TWindowPlacement DefaultUnitPlacement(const TWindowPlacement& mainPlacement);

}  // namespace quenmark
