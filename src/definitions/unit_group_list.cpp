#include "definitions/unit_group_list.h"

#include "definitions/full_path.h"
#include "definitions/profile.h"
#include "definitions/unit_table_reader.h"

namespace quenmark {

namespace {

constexpr const char* DefaultFont = "Times New Roman";

TCCUnitGroupList::FontTable DefaultFonts() {
    TCCUnitGroupList::FontTable fonts;
    fonts.fill(DefaultFont);
    fonts[1] = "Symbol";
    return fonts;
}

TCCUnitGroupList::FontTable ReadFonts(const std::string& path) {
    TCCUnitGroupList::FontTable fonts;
    for (size_t n = 0; n < fonts.size(); ++n) {
        fonts[n] = DefaultFont;
        ReadProfileString(path, "Font", "Font" + std::to_string(n), fonts[n]);
    }
    return fonts;
}

}  // namespace

TCCUnitGroupList::TCCUnitGroupList() : FDirectory(ProgramDirectory()), FFonts(DefaultFonts()) {}

TCCUnitGroupList::TCCUnitGroupList(std::string fileName, std::string directory)
    : FDirectory(std::move(directory)), FFonts(DefaultFonts()) {
    LoadUnitFile(fileName);
}

std::string TCCUnitGroupList::FullPath() const { return quenmark::FullPath(FDirectory, FFileName); }

void TCCUnitGroupList::LoadUnitFile(const std::string& fileName) {
    FFileName = fileName;
    const std::string path = FullPath();
    std::string purpose;
    ReadProfileString(path, "Information", "Purpose", purpose);
    if (purpose != Purpose) return;
    FontTable fonts = ReadFonts(path);
    auto groups = ReadUnitTable(ReadFileLines(path));
    FFonts = std::move(fonts);
    FGroups = std::move(groups);
}

}  // namespace quenmark
