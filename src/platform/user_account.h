#pragma once

#include <string>

namespace quenmark {

// The login name of the effective user, at most 79 characters; empty when
// the user has no entry in the password database.
std::string LoginName();

// The home directory of the effective user from the password database,
// without a trailing "/"; empty when there is none.
std::string HomeDirectory();

}  // namespace quenmark
