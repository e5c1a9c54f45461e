#pragma once

#include <string>

#include "app/settings_save.h"

namespace quenmark {

// Writes the merge of source's contents over fileName in one atomic
// replacement, reading source line by line and putting the result out in
// blocks: the merge's sections are read from source again, a line at a
// time, only while they are written, so neither file is ever held whole.
// A missing source stands for an empty file. Returns false, with errno
// telling why and fileName untouched, when source cannot be read (or is
// not a regular file) or fileName cannot be written. Exceptions from the
// merge (std::bad_alloc among them) leave fileName untouched too.
bool WriteStreamedMerge(const std::string& source, const std::string& fileName, const TSettingsMerge& merge);

}  // namespace quenmark
