#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "base/context.h"
#include "definitions/unit_group.h"
#include "platform/installed_layout.h"

namespace quenmark {

// The unit groups of one unit definition file, in file order, with the ten
// font faces that the tags of unit names refer to. The list owns its groups.
class TCCUnitGroupList {
public:
    static constexpr const char* Purpose = "Quenmark Version 1.1 Unit Convertor Definition File";
    static constexpr size_t FontCount = 10;
    using FontTable = std::array<std::string, FontCount>;

    // No file: no groups, the default fonts ("Times New Roman", with
    // "Symbol" at index 1). Files are read through the context, which must
    // outlive the list.
    explicit TCCUnitGroupList(const TCCContext& context);
    // The groups of the named file in directory; throws the load's error.
    TCCUnitGroupList(const TCCContext& context, std::string fileName, std::string directory = DataDirectory());

    // The fonts of a list without a file.
    static FontTable DefaultFonts();

    const std::string& FileName() const { return FFileName; }
    std::string FullPath() const;
    const FontTable& Fonts() const { return FFonts; }

    size_t Count() const { return FGroups.size(); }
    TCCUnitGroup& Items(size_t index) const { return *FGroups.at(index); }
    void Add(std::unique_ptr<TCCUnitGroup> group) { FGroups.push_back(std::move(group)); }
    void Clear() { FGroups.clear(); }

    // Reads the named file of the list's directory. A missing file or a
    // wrong header loads nothing and is no error. A malformed unit table
    // throws Exception ("Error", or an index error where a line is missing)
    // and leaves the list as it was.
    void LoadUnitFile(const std::string& fileName);

private:
    const TCCContext& FContext;
    std::string FFileName;
    std::string FDirectory;
    FontTable FFonts;
    std::vector<std::unique_ptr<TCCUnitGroup>> FGroups;
};

}  // namespace quenmark
