#pragma once

#include <string>

namespace quenmark {

// The file whose presence in the program folder marks an installed copy.
inline constexpr const char* InstalledCopyMarkerName = "installed-copy";

// The folder, with a trailing "/", of a kind of shipped file: for an
// installed copy (the marker beside the executable) the folder the
// installation puts them in, `relativeFolder` from the program folder,
// where that exists; otherwise the program folder itself, as in the build
// tree and in a copy of it.
std::string ChooseShippedFolder(const std::string& programDirectory, const std::string& relativeFolder);

// The folder of the message, help, unit and language files.
const std::string& DataDirectory();

// The folder of the modules that come with the program.
const std::string& ShippedModuleDirectory();

}  // namespace quenmark
