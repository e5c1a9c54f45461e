#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "expression/string_tokenizer.h"

namespace quenmark {

class TVMModuleList;

// Asks the tokenizers of the loaded modules, in load order, for a token at
// the current position and builds the first recognised one.
class TCCModuleTokenizer : public ModuleTokenSource {
public:
    explicit TCCModuleTokenizer(const TVMModuleList& modules);
    ~TCCModuleTokenizer() override;

    // Throws EINError INT061 for a module's reported failure, and INT063 for
    // any other result and for a recognised token that breaks the record's
    // rules (a length of 0 or beyond the rest of the line, a text or string
    // value that overruns its buffer, a missing text, an unknown class or
    // kind).
    TokenPtr ReadToken(std::string_view rest, size_t& consumed) override;

private:
    struct Buffers;

    const TVMModuleList& FModules;
    // Reused from token to token: the lent buffers and the zero-terminated
    // copy of the rest of the line, so asking costs no allocation.
    std::unique_ptr<Buffers> FBuffers;
    std::string FText;
};

}  // namespace quenmark
