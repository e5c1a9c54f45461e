#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "base/context.h"
#include "base/text_lookup.h"
#include "platform/installed_layout.h"

namespace quenmark {

// A message catalogue: the texts of one message file, looked up by code in
// its section "Messages". The file is the only store of texts: every lookup
// sees what the file holds at that moment (through the shared parsed copy).
class TCCMessages : public MessageSource {
public:
    static constexpr const char* Purpose = "Quenmark Version 1.1 Message File";

    // A catalogue without a file: every lookup gives the code itself.
    TCCMessages() = default;
    // A catalogue of the named file in directory, read through the context's
    // store, which must outlive the catalogue. Nothing is read until a text
    // or the header is first asked for; never fails.
    TCCMessages(const TCCContext& context, std::string fileName, std::string directory = DataDirectory());

    const std::string& FileName() const { return FFileName; }
    // "Language" and "Codepage" of the header, read at the first call when
    // the header matches; "English" and 1252 otherwise.
    const std::string& Language() const;
    int32_t Codepage() const;
    const std::string& FullPath() const { return FFullPath; }

    // The text stored for the code with "\t" and "\T" as tabs and "\n" and
    // "\N" as CR LF; the code itself when the file has no text for it.
    std::string GetText(std::string_view code) const;
    // GetText with every "%1" replaced by the argument; the inserted text is
    // not scanned again.
    std::string GetTextWith(std::string_view code, std::string_view argument) const;

    std::optional<std::string> Text(std::string_view code) const override { return GetText(code); }
    std::optional<std::string> TextWith(std::string_view code, std::string_view argument) const override {
        return GetTextWith(code, argument);
    }

private:
    void ReadHeader() const;

    const TCCContext* FContext = nullptr;
    std::string FFileName;
    std::string FFullPath;
    mutable std::once_flag FHeaderRead;
    mutable std::string FLanguage = "English";
    mutable int32_t FCodepage = 1252;
};

// Expands the escapes of a stored message text.
std::string ExpandMessageEscapes(std::string text);
// Replaces every "%1" of text by argument, scanning only the original text.
std::string ReplaceArgument(std::string_view text, std::string_view argument);

}  // namespace quenmark
