#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "expression/string_tokenizer.h"

namespace quenmark {

class TVMModule;
class TVMModuleList;

// Asks the tokenizers of the modules, in load order, for a token at the
// current position and builds the first recognised one. Only the modules
// that declare the position's first character are asked; one that waits to
// be needed is loaded then.
class TCCModuleTokenizer : public ModuleTokenSource {
public:
    explicit TCCModuleTokenizer(TVMModuleList& modules);
    ~TCCModuleTokenizer() override;

    // The rest of the line must be readable one character past its end, as
    // the tail of a std::string is: the modules read it in place when that
    // character is the zero byte.
    // Throws EINError INT061 for a module's reported failure, and INT063 for
    // any other result and for a recognised token that breaks the record's
    // rules (a length of 0 or beyond the rest of the line, a text or string
    // value that overruns its buffer, a missing text, an unknown class or
    // kind).
    bool ReadToken(std::string_view rest, size_t& consumed, TCCToken& token) override;

private:
    struct Buffers;

    const char* ZeroTerminated(std::string_view rest);
    [[gnu::noinline]] bool Answer(int32_t result, const TVMModule& module, size_t length, size_t& consumed,
                                  TCCToken& token);

    TVMModuleList& FModules;
    // Reused from token to token: the lent buffers, and the zero-terminated
    // copy of a rest that does not end in a zero byte.
    std::unique_ptr<Buffers> FBuffers;
    std::string FText;
};

}  // namespace quenmark
