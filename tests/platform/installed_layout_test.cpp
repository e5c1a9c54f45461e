#include "platform/installed_layout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/installed_paths.h"
#include "platform/program_directory.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

// A staged installation: PREFIX/lib/ARCH/quenmark/ and PREFIX/share/quenmark/.
class InstalledLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("quenmark-layout-" + std::to_string(getpid()));
        fs::remove_all(root_);
        program_ = root_ / "usr/lib/arch/quenmark";
        fs::create_directories(program_);
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string ProgramFolder() const { return program_.string() + "/"; }
    void Mark() const { std::ofstream(program_ / InstalledCopyMarkerName) << "\n"; }

    fs::path root_;
    fs::path program_;
};

struct TLayoutCase {
    const char* Name;
    bool Marked;         // installed-copy beside the executable
    bool FolderPresent;  // the installed data folder exists
    bool Installed;      // the data folder is taken, not the program folder
};

TEST_F(InstalledLayoutTest, TheInstalledFolderOnlyForAMarkedCopyThatHasIt) {
    const TLayoutCase cases[] = {
        {"build tree", false, false, false},
        {"build tree beside a data folder", false, true, false},
        {"marked copy without its data folder", true, false, false},
        {"installed copy", true, true, true},
    };
    for (const TLayoutCase& layout : cases) {
        SCOPED_TRACE(layout.Name);
        fs::remove(program_ / InstalledCopyMarkerName);
        fs::remove_all(root_ / "usr/share");
        if (layout.Marked) Mark();
        if (layout.FolderPresent) fs::create_directories(root_ / "usr/share/quenmark");
        const std::string chosen = ChooseShippedFolder(ProgramFolder(), "../../../share/quenmark/");
        EXPECT_EQ(chosen, layout.Installed ? root_.string() + "/usr/share/quenmark/" : ProgramFolder());
    }
}

TEST_F(InstalledLayoutTest, AFolderNamedWithoutSlashGetsOne) {
    Mark();
    fs::create_directories(program_ / "modules");
    EXPECT_EQ(ChooseShippedFolder(ProgramFolder(), "modules"), ProgramFolder() + "modules/");
}

TEST(InstalledPathsTest, DataAndModulesLieWhereTheInstallationPutsThem) {
    const std::string data = InstalledDataFromProgram;
    EXPECT_EQ(data.rfind("../", 0), 0u) << data;
    EXPECT_TRUE(data.ends_with("/share/quenmark/")) << data;
    EXPECT_EQ(std::string(InstalledModulesFromProgram), "modules/");
}

TEST(InstalledPathsTest, TheTestProgramIsNoInstalledCopy) {
    EXPECT_EQ(DataDirectory(), ProgramDirectory());
    EXPECT_EQ(ShippedModuleDirectory(), ProgramDirectory());
}

}  // namespace
}  // namespace quenmark
