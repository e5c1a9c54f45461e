#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// The output callback every module receives: the text (zero-terminated, at
// most length characters of it) joins the current output lines, starting a
// line of its own; line breaks in it (CR LF, LF or CR) start further lines.
// Always returns -1. Without an output list the text is dropped.
extern "C" int32_t ModuleOutput(const char* text, int32_t length);

// The output lines that ModuleOutput appends to; null drops module output.
// Not owned. This is the one process-wide slot the core keeps: a module
// receives ModuleOutput as a plain C function pointer and calls it with its
// text alone, so the callback cannot be handed a context and must find the
// lines here. Everything else travels in the context (base/context.h).
void SetModuleOutputLines(std::vector<std::string>* lines);
std::vector<std::string>* ModuleOutputLines();

// The lines with the text joined in, as ModuleOutput builds them.
std::vector<std::string> JoinOutputText(const std::vector<std::string>& lines, std::string_view text);

}  // namespace quenmark
