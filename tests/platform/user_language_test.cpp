#include "platform/user_language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace quenmark {
namespace {

struct LocaleRow {
    const char* locale;
    int32_t expected;
};

class LangIDFromLocaleNameTest : public ::testing::TestWithParam<LocaleRow> {};

TEST_P(LangIDFromLocaleNameTest, MapsToTheWindowsIdentifier) {
    EXPECT_EQ(LangIDFromLocaleName(GetParam().locale), GetParam().expected) << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(Rows, LangIDFromLocaleNameTest, ::testing::Values(
    LocaleRow{"en_US", 1033}, LocaleRow{"en_US.UTF-8", 1033}, LocaleRow{"en_GB.UTF-8", 2057},
    LocaleRow{"de_DE.UTF-8", 1031}, LocaleRow{"de_DE.ISO-8859-15@euro", 1031}, LocaleRow{"de_AT.UTF-8", 3079},
    LocaleRow{"de_CH", 2055}, LocaleRow{"ja_JP.UTF-8", 1041}, LocaleRow{"ja_JP.eucJP", 1041},
    LocaleRow{"fr_FR.UTF-8", 1036}, LocaleRow{"fr_CA", 3084}, LocaleRow{"zh_CN.UTF-8", 2052},
    LocaleRow{"zh_TW.UTF-8", 1028}, LocaleRow{"pt_BR", 1046}, LocaleRow{"es_ES.UTF-8", 3082},
    // a known language in an unlisted territory, or without one: its main identifier
    LocaleRow{"de_BE.UTF-8", 1031}, LocaleRow{"de", 1031}, LocaleRow{"ja", 1041}, LocaleRow{"en_NG", 1033},
    // unknown
    LocaleRow{"C", 0}, LocaleRow{"POSIX", 0}, LocaleRow{"C.UTF-8", 0}, LocaleRow{"", 0}, LocaleRow{"xx_YY", 0},
    LocaleRow{"DE_de", 0}
));

// Sets an environment variable for one test and restores it afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedVariable() {
        if (FOld) setenv(FName, FOld->c_str(), 1);
        else unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

struct EnvironmentRow {
    const char* behaviour;
    const char* all;
    const char* messages;
    const char* lang;
    int32_t expected;
};

class UserDefaultLangIDTest : public ::testing::TestWithParam<EnvironmentRow> {};

TEST_P(UserDefaultLangIDTest, FollowsTheMessagesLocaleOfTheUser) {
    const EnvironmentRow& row = GetParam();
    ScopedVariable all("LC_ALL", row.all), messages("LC_MESSAGES", row.messages), lang("LANG", row.lang);
    EXPECT_EQ(UserDefaultLangID(), row.expected) << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, UserDefaultLangIDTest, ::testing::Values(
    EnvironmentRow{"LC_ALL comes first", "ja_JP.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", 1041},
    EnvironmentRow{"then LC_MESSAGES", nullptr, "de_DE.UTF-8", "fr_FR.UTF-8", 1031},
    EnvironmentRow{"an empty variable is skipped", "", "", "fr_FR.UTF-8", 1036},
    EnvironmentRow{"then LANG", nullptr, nullptr, "ja_JP.UTF-8", 1041},
    EnvironmentRow{"none set", nullptr, nullptr, nullptr, 0}
));

}  // namespace
}  // namespace quenmark
