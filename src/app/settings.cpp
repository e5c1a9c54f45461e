#include "app/settings.h"

#include <ctime>

#include "app/damaged_settings.h"
#include "app/settings_file.h"
#include "definitions/profile.h"
#include "definitions/profile_cache.h"

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
    visitor.Bool("Others", "AutoComplete", settings.AutoComplete);
}

// Reads each key with the field's current value as the default, all from
// one parse of the file.
struct TKeyReader {
    const TProfileText& File;

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

// Renders every key as it is stored and hands it to the sink; marks the
// keys that every save writes whatever the file holds.
template <typename Sink>
struct TKeyWriter {
    Sink& Out;
    const std::string& User;

    void Fixed(const char* section, const char* key, const char* text) { Out.Put(section, key, text, true); }
    void LoginName(const char* section, const char* key) { Out.Put(section, key, StoredText(User), true); }
    void Integer(const char* section, const char* key, int32_t value) {
        Out.Put(section, key, std::to_string(value), false);
    }
    void Bool(const char* section, const char* key, bool value) { Out.Put(section, key, value ? "Yes" : "No", false); }
    void Text(const char* section, const char* key, const std::string& value) {
        Out.Put(section, key, StoredText(value), false);
    }
    void Color(const char* section, const char* key, uint32_t value) { Integer(section, key, static_cast<int32_t>(value)); }
    void Byte(const char* section, const char* key, uint8_t value) { Integer(section, key, value); }
};

// The stored text of every key, in the order VisitKeys goes.
struct TRenderSink {
    std::vector<std::string> Values;
    void Put(const char*, const char*, std::string text, bool) { Values.push_back(std::move(text)); }
};

// Writes what this copy changed since the baseline, and every key the file
// lacks; keys this copy left alone keep what another copy may have saved.
// The baseline holds the keys in the order they are visited.
struct TMergeSink {
    TProfileText& File;
    const std::vector<std::string>& Baseline;
    size_t Next = 0;
    void Put(const char* section, const char* key, const std::string& text, bool always) {
        const size_t index = Next++;
        const bool changed = index >= Baseline.size() || Baseline[index] != text;
        if (always || changed || !File.Value(section, key)) File.SetValue(section, key, text);
    }
};

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

TSettings::TSettings(std::string fileName, const TWorkAreaSource& workArea)
    : TSettings(std::make_shared<const TCCContext>(), nullptr, std::move(fileName), workArea) {}

TSettings::TSettings(const TCCContext& context, std::string fileName, const TWorkAreaSource& workArea)
    : TSettings(nullptr, &context, std::move(fileName), workArea) {}

TSettings::TSettings(std::shared_ptr<const TCCContext> ownContext, const TCCContext* context, std::string fileName,
                     const TWorkAreaSource& workArea)
    : FOwnContext(std::move(ownContext)),
      FContext(context ? context : FOwnContext.get()),
      FFileName(std::move(fileName)),
      FSourceFileName(FFileName) {
    SetDefaultPlacements(workArea ? workArea() : std::nullopt);
    MarkSaved();
}

void TSettings::SetDefaultPlacements(const std::optional<TWorkArea>& workArea) {
    MainPlacement = DefaultMainPlacement(workArea);
    UnitPlacement = DefaultUnitPlacement(MainPlacement);
}

bool TSettings::IsSettingsFileValid() const { return quenmark::IsSettingsFileValid(*FContext, FSourceFileName); }

void TSettings::ReadFrom(std::string sourceFileName) { FSourceFileName = std::move(sourceFileName); }

void TSettings::Load() {
    // Saves replace the file in one rename, so a reader without the lock
    // still sees a whole file; the lock keeps it from reading between a
    // save's merge and its write. A lock kept longer than the wait is given
    // up on: the start goes on, reading without it. Reading creates no
    // lock file: without one no save has begun, and a run that changes
    // nothing writes nothing.
    TFileLock lock;
    const TLockResult locked = LockSettingsFile(*FContext, FSourceFileName, TFileLock::Mode::Shared, false, lock);
    if (locked == TLockResult::Busy)
        NoticeAboutSettingsFile(*FContext,
                                [this](const TCCContext& in) { return in.GetTextWith("QEN412", FSourceFileName); });
    const TProfileCache::Snapshot current = LoadDefinitionFile(*FContext, FSourceFileName);
    if (IsSettingsTextValid(*current.Text)) {
        TKeyReader reader{*current.Text};
        VisitKeys(*this, reader);
        if (!StayResident) MainPlacement.Show = true;
    } else if (!ReadOnly) {
        lock.Release();
        SetDamagedFileAside();
    }
    MarkSaved();
}

void TSettings::SetDamagedFileAside() {
    if (LoadDefinitionFile(*FContext, FSourceFileName).State != TProfileCache::FileState::Present) return;
    TFileLock lock;
    if (LockSettingsFile(*FContext, FSourceFileName, TFileLock::Mode::Exclusive, true, lock) != TLockResult::Held)
        return;
    const TProfileCache::Snapshot current = LoadDefinitionFile(*FContext, FSourceFileName);
    if (current.State != TProfileCache::FileState::Present || IsSettingsTextValid(*current.Text)) return;
    FMovedAsideTo = MoveDamagedFileAside(FSourceFileName, std::time(nullptr));
}

std::vector<std::string> TSettings::RenderedKeys() const {
    TRenderSink sink;
    sink.Values.reserve(FBaseline.size());
    // The keys every save writes are never compared with the baseline, so
    // the user's name is not looked up for it.
    const std::string noUser;
    TKeyWriter<TRenderSink> writer{sink, noUser};
    VisitKeys(*this, writer);
    return std::move(sink.Values);
}

void TSettings::MarkSaved() const { FBaseline = RenderedKeys(); }

void TSettings::StoreInto(TProfileText& file) const {
    TMergeSink sink{file, FBaseline, 0};
    const std::string user = GetLoginUserName();
    TKeyWriter<TMergeSink> writer{sink, user};
    VisitKeys(*this, writer);
}

void TSettings::NoteSaved() const {
    MarkSaved();
    FSourceFileName = FFileName;
}

TSaveOutcome TSettings::SaveReporting() const {
    TSaveOutcome outcome = UpdateSettingsFile(
        *FContext, FFileName, [this](TProfileText& file) { StoreInto(file); }, FSourceFileName);
    if (outcome.Saved) NoteSaved();
    return outcome;
}

bool TSettings::Save() const { return SaveReporting().Saved; }

}  // namespace quenmark
