// The message catalogue with arbitrary texts and arguments. The input gives
// a code, an argument and the body of the "Messages" section. Checked: an
// argument is put in place of every "%1" and nothing else changes, no
// escape survives the expansion, a plain stored text comes back expanded,
// and the catalogue in force answers as the catalogue itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/context.h"
#include "definitions/messages.h"
#include "definitions/profile_text.h"
#include "fuzz_support.h"

namespace quenmark {
namespace {

using fuzz::Require;

size_t CountArguments(std::string_view text) {
    size_t count = 0;
    for (size_t found = text.find("%1"); found != std::string_view::npos; found = text.find("%1", found + 2))
        ++count;
    return count;
}

bool HasEscape(std::string_view text) {
    for (const char* escape : {"\\t", "\\T", "\\n", "\\N"})
        if (text.find(escape) != std::string_view::npos) return true;
    return false;
}

void CheckReplace(std::string_view text, std::string_view argument) {
    const std::string replaced = ReplaceArgument(text, argument);
    const size_t count = CountArguments(text);
    Require(replaced.size() == text.size() - 2 * count + argument.size() * count,
            "every \"%1\" and nothing else is replaced");
    if (count == 0) Require(replaced == text, "a text without \"%1\" stays as it is");
}

// A code and a text that a key line holds and gives back unchanged.
bool IsPlainEntry(std::string_view code, std::string_view text) {
    const bool plainCode = !code.empty() && TrimBlanks(code) == code && code.front() != ';' && code.front() != '[' &&
                           code.find_first_of("=\r\n") == std::string_view::npos;
    const bool plainText = TrimBlanks(text) == text && text.find_first_of("\r\n") == std::string_view::npos &&
                           text.size() <= TProfileText::MaxValueLength && (text.empty() || (text.front() != '"' && text.front() != '\''));
    return plainCode && plainText;
}

}  // namespace
}  // namespace quenmark

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quenmark;
    FuzzedDataProvider input(data, size);
    const std::string code = input.ConsumeRandomLengthString(32);
    const std::string argument = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::string directory = fuzz::ScratchDirectory();
    fuzz::WriteFile(directory + "Fuzz.msg", "[Information]\r\nPurpose=" + std::string(TCCMessages::Purpose) +
                                                "\r\nLanguage=Fuzz\r\nCodepage=65001\r\n[Messages]\r\n" + code +
                                                "=" + text + "\r\n");
    const TCCContext files;
    TCCMessages messages(files, "Fuzz.msg", directory);
    Require(messages.Language() == "Fuzz", "the catalogue's header is read");

    const std::string found = messages.GetText(code);
    Require(!HasEscape(found), "no escape survives the expansion");
    if (IsPlainEntry(code, text)) Require(found == ExpandMessageEscapes(text), "a stored text comes back expanded");
    Require(messages.GetTextWith(code, argument) == ReplaceArgument(found, argument),
            "the argument goes into the text that GetText gives");
    CheckReplace(found, argument);
    CheckReplace(text, argument);
    Require(!HasEscape(ExpandMessageEscapes(text)), "no escape survives the expansion");

    TCCContext context;
    context.SetMessages(&messages);
    Require(context.GetText(code) == found &&
                context.GetTextWith(code, argument) == ReplaceArgument(found, argument),
            "the catalogue in force answers as the catalogue");
    return 0;
}
