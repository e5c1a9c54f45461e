#pragma once

#include <ctime>
#include <string>

namespace quenmark {

// A settings file that exists but fails validation is never overwritten:
// it is renamed aside with a time stamp, and the program starts afresh.

// "YYYYMMDD-HHMMSS" in local time, followed by "-N" from 2 on when attempt
// is N: the stamp of the files the program sets aside.
std::string FileTimeStamp(std::time_t when, int attempt);

// fileName + ".damaged-YYYYMMDD-HHMMSS" in local time, followed by "-N"
// from 2 on when attempt is N.
std::string DamagedFileName(const std::string& fileName, std::time_t when, int attempt);

// Renames the file to the first DamagedFileName that does not exist yet,
// never replacing an earlier one. Returns the new name, or empty when the
// file could not be renamed.
std::string MoveDamagedFileAside(const std::string& fileName, std::time_t when);

}  // namespace quenmark
