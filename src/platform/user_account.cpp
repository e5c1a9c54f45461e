#include "platform/user_account.h"

#include <pwd.h>
#include <unistd.h>

namespace quenmark {

namespace {

constexpr size_t MaxLoginNameLength = 79;

struct UserAccount {
    std::string Name;
    std::string Home;
};

// The password database is asked once per run: the effective user does not
// change while the program runs, and every lookup reads the whole database.
const UserAccount& EffectiveUser() {
    static const UserAccount account = [] {
        UserAccount found;
        const passwd* entry = getpwuid(geteuid());
        if (!entry) return found;
        if (entry->pw_name) {
            found.Name = entry->pw_name;
            if (found.Name.size() > MaxLoginNameLength) found.Name.resize(MaxLoginNameLength);
        }
        if (entry->pw_dir) {
            found.Home = entry->pw_dir;
            while (found.Home.size() > 1 && found.Home.back() == '/') found.Home.pop_back();
        }
        return found;
    }();
    return account;
}

}  // namespace

std::string LoginName() { return EffectiveUser().Name; }

std::string HomeDirectory() { return EffectiveUser().Home; }

}  // namespace quenmark
