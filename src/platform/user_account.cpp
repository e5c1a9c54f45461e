#include "platform/user_account.h"

#include <pwd.h>
#include <unistd.h>

namespace quenmark {

namespace {
constexpr size_t MaxLoginNameLength = 79;
}

std::string LoginName() {
    const passwd* entry = getpwuid(geteuid());
    if (!entry || !entry->pw_name) return {};
    std::string name(entry->pw_name);
    if (name.size() > MaxLoginNameLength) name.resize(MaxLoginNameLength);
    return name;
}

std::string HomeDirectory() {
    const passwd* entry = getpwuid(geteuid());
    if (!entry || !entry->pw_dir) return {};
    std::string home(entry->pw_dir);
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return home;
}

}  // namespace quenmark
