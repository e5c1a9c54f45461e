#include "app/damaged_settings.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "settings_test_directory.h"

namespace quenmark {
namespace {

using test::ReadTextFile;
using test::TempDirectory;
using test::WriteTextFile;

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

TEST(DamagedSettingsTest, NameCarriesTheLocalTimeAndACounterFromTwo) {
    const std::time_t when = LocalTime(2024, 3, 7, 9, 5, 1);
    EXPECT_EQ(DamagedFileName("/p/~alice.cfg", when, 1), "/p/~alice.cfg.damaged-20240307-090501");
    EXPECT_EQ(DamagedFileName("/p/~alice.cfg", when, 2), "/p/~alice.cfg.damaged-20240307-090501-2");
}

TEST(DamagedSettingsTest, AnEarlierDamagedFileIsNeverOverwritten) {
    const TempDirectory dir;
    const std::string file = dir.File("~alice.cfg");
    const std::time_t when = LocalTime(2024, 3, 7, 9, 5, 1);
    WriteTextFile(file, "first");
    const std::string first = MoveDamagedFileAside(file, when);
    WriteTextFile(file, "second");
    const std::string second = MoveDamagedFileAside(file, when);
    EXPECT_EQ(first, DamagedFileName(file, when, 1));
    EXPECT_EQ(second, DamagedFileName(file, when, 2));
    EXPECT_EQ(ReadTextFile(first), "first");
    EXPECT_EQ(ReadTextFile(second), "second");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(MoveDamagedFileAside(file, when), "") << "nothing left to move";
}

}  // namespace
}  // namespace quenmark
