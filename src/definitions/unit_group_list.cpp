#include "definitions/unit_group_list.h"

#include "definitions/full_path.h"
#include "definitions/profile.h"
#include "definitions/unit_table_reader.h"

namespace quenmark {

namespace {

constexpr const char* DefaultFont = "Times New Roman";

TCCUnitGroupList::FontTable ReadFonts(const TCCContext& context, const std::string& path) {
    TCCUnitGroupList::FontTable fonts;
    for (size_t n = 0; n < fonts.size(); ++n) {
        fonts[n] = DefaultFont;
        ReadProfileString(context, path, "Font", "Font" + std::to_string(n), fonts[n]);
    }
    return fonts;
}

}  // namespace

TCCUnitGroupList::FontTable TCCUnitGroupList::DefaultFonts() {
    FontTable fonts;
    fonts.fill(DefaultFont);
    fonts[1] = "Symbol";
    return fonts;
}

TCCUnitGroupList::TCCUnitGroupList(const TCCContext& context)
    : FContext(context), FDirectory(DataDirectory()), FFonts(DefaultFonts()) {}

TCCUnitGroupList::TCCUnitGroupList(const TCCContext& context, std::string fileName, std::string directory)
    : FContext(context), FDirectory(std::move(directory)), FFonts(DefaultFonts()) {
    LoadUnitFile(fileName);
}

std::string TCCUnitGroupList::FullPath() const { return quenmark::FullPath(FDirectory, FFileName); }

void TCCUnitGroupList::LoadUnitFile(const std::string& fileName) {
    FFileName = fileName;
    const std::string path = FullPath();
    std::string purpose;
    ReadProfileString(FContext, path, "Information", "Purpose", purpose);
    if (purpose != Purpose) return;
    FontTable fonts = ReadFonts(FContext, path);
    auto groups = ReadUnitTable(ReadFileLines(FContext, path));
    FFonts = std::move(fonts);
    FGroups = std::move(groups);
}

}  // namespace quenmark
