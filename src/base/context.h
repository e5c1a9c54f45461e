#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "base/definition_files.h"
#include "base/number_separators.h"
#include "base/text_lookup.h"

namespace quenmark {

// What the core reads that a process would otherwise keep in globals: the
// message texts, the number separators, the store of definition files and
// the settings location. The application owns one (app/process_objects)
// and hands it down, as an interpreter hands its state to everything it
// creates: the interpreter passes it to its tokenizer (the parser reports in
// its tokenizer's context) and machine, a module keeps the context it was
// loaded with, and the definition readers and the settings take it as they
// are made. Whatever throws an error with a looked-up text (EINError,
// EVMError) holds a reference to the context it was made with; the context
// must outlive all of them. A const context still lets its store cache:
// caching changes no answer.
//
// A default context has no messages (every lookup gives the code itself),
// "." and "," as separators, no definition-file store (every read goes to
// the file) and no settings location. Tests build their own.
class TCCContext {
public:
    TCCContext() = default;
    explicit TCCContext(NumberSeparators separators) : FSeparators(std::move(separators)) {}
    TCCContext(const TCCContext&) = delete;
    TCCContext& operator=(const TCCContext&) = delete;

    // The message source in force; null while none is set. Not owned.
    const MessageSource* Messages() const { return FMessages; }
    void SetMessages(const MessageSource* messages) { FMessages = messages; }

    // The text of a message code. A lookup never fails: without a text the
    // result is the code itself.
    std::string GetText(std::string_view code) const;
    // The text with every "%1" replaced by the argument, or the code.
    std::string GetTextWith(std::string_view code, std::string_view argument) const;

    // The separators of every number that becomes text or is read from text.
    const NumberSeparators& Separators() const { return FSeparators; }
    void SetSeparators(NumberSeparators separators) { FSeparators = std::move(separators); }

    // The store through which definition files are read and written; null
    // while none is set. Not owned.
    TDefinitionFiles* Files() const { return FFiles; }
    void SetFiles(TDefinitionFiles* files) { FFiles = files; }

    // The full path of the settings file of this run; empty while unknown.
    const std::string& SettingsFileName() const { return FSettingsFileName; }
    void SetSettingsFileName(std::string fileName) { FSettingsFileName = std::move(fileName); }

private:
    const MessageSource* FMessages = nullptr;
    NumberSeparators FSeparators;
    TDefinitionFiles* FFiles = nullptr;
    std::string FSettingsFileName;
};

}  // namespace quenmark
