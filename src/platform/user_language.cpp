#include "platform/user_language.h"

#include <cstdlib>

namespace quenmark {

namespace {

struct LocaleLangID {
    const char* Language;   // ISO 639 code as in locale names
    const char* Territory;  // ISO 3166 code
    int32_t LangID;
};

// The first row of each language is its main identifier, used for a
// territory the table does not list.
constexpr LocaleLangID LocaleTable[] = {
    {"en", "US", 1033}, {"en", "GB", 2057}, {"en", "AU", 3081}, {"en", "CA", 4105},
    {"en", "NZ", 5129}, {"en", "IE", 6153}, {"en", "ZA", 7177}, {"en", "IN", 16393},
    {"de", "DE", 1031}, {"de", "CH", 2055}, {"de", "AT", 3079}, {"de", "LU", 4103},
    {"de", "LI", 5127},
    {"ja", "JP", 1041},
    {"fr", "FR", 1036}, {"fr", "BE", 2060}, {"fr", "CA", 3084}, {"fr", "CH", 4108},
    {"fr", "LU", 5132},
    {"es", "ES", 3082}, {"es", "MX", 2058}, {"es", "AR", 11274}, {"es", "CO", 9226},
    {"es", "CL", 13322},
    {"it", "IT", 1040}, {"it", "CH", 2064},
    {"nl", "NL", 1043}, {"nl", "BE", 2067},
    {"pt", "BR", 1046}, {"pt", "PT", 2070},
    {"sv", "SE", 1053}, {"sv", "FI", 2077},
    {"da", "DK", 1030}, {"nb", "NO", 1044}, {"no", "NO", 1044}, {"nn", "NO", 2068},
    {"fi", "FI", 1035}, {"is", "IS", 1039},
    {"pl", "PL", 1045}, {"cs", "CZ", 1029}, {"sk", "SK", 1051}, {"hu", "HU", 1038},
    {"sl", "SI", 1060}, {"hr", "HR", 1050}, {"ro", "RO", 1048}, {"bg", "BG", 1026},
    {"ru", "RU", 1049}, {"uk", "UA", 1058}, {"el", "GR", 1032}, {"tr", "TR", 1055},
    {"et", "EE", 1061}, {"lv", "LV", 1062}, {"lt", "LT", 1063},
    {"he", "IL", 1037}, {"ar", "SA", 1025}, {"ar", "EG", 3073}, {"fa", "IR", 1065},
    {"hi", "IN", 1081}, {"th", "TH", 1054}, {"vi", "VN", 1066}, {"id", "ID", 1057},
    {"ms", "MY", 1086},
    {"zh", "CN", 2052}, {"zh", "TW", 1028}, {"zh", "HK", 3076}, {"zh", "SG", 4100},
    {"ko", "KR", 1042},
    {"ca", "ES", 1027}, {"eu", "ES", 1069}, {"gl", "ES", 1110},
};

// "de_DE.UTF-8@euro" splits into "de" and "DE".
void SplitLocaleName(std::string_view name, std::string_view& language, std::string_view& territory) {
    name = name.substr(0, name.find_first_of(".@"));
    const size_t underscore = name.find('_');
    language = name.substr(0, underscore);
    territory = underscore == std::string_view::npos ? std::string_view() : name.substr(underscore + 1);
}

}  // namespace

std::string UserMessagesLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return {};
}

int32_t LangIDFromLocaleName(std::string_view localeName) {
    std::string_view language, territory;
    SplitLocaleName(localeName, language, territory);
    int32_t languageMain = 0;
    for (const LocaleLangID& row : LocaleTable) {
        if (language != row.Language) continue;
        if (territory == row.Territory) return row.LangID;
        if (languageMain == 0) languageMain = row.LangID;
    }
    return languageMain;
}

int32_t UserDefaultLangID() { return LangIDFromLocaleName(UserMessagesLocaleName()); }

}  // namespace quenmark
