#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

// Replaces a file's contents as one step: the contents go to a new file in
// the same directory, which is flushed to disk and then renamed over the
// old one, so that an interrupted save leaves the old file or the new one,
// never a mix. A symbolic link is followed and its target replaced. An
// existing file keeps its permission bits; a new one gets 0666 less the
// umask. Returns the status of the written file, or nothing when a step
// failed, with errno telling why; the old file is then untouched and no
// temporary file remains.
// Temporary files that earlier saves of the same file left behind because
// their process was killed are removed first.
std::optional<struct stat> ReplaceFileContents(const std::string& path, std::string_view contents);

}  // namespace quenmark
