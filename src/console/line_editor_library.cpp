// The line editor's library: the table of console/line_editor_library.h,
// filled from the editor it links.
#include "console/line_editor_library.h"

namespace {

const QuenmarkLineEditor editor = {
    sizeof(QuenmarkLineEditor),
    readline,
    rl_initialize,
    add_history,
    clear_history,
    rl_insert_text,
    rl_replace_line,
    rl_ding,
    rl_parse_and_bind,
    rl_add_defun,
    &rl_line_buffer,
    &rl_point,
    &rl_end,
    &rl_basic_word_break_characters,
    &rl_completer_word_break_characters,
    &rl_completion_entry_function,
    &rl_attempted_completion_function,
    &rl_attempted_completion_over,
    &rl_completion_append_character,
    &rl_getc_function,
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const QuenmarkLineEditor* quenmark_line_editor() { return &editor; }
