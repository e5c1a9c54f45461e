#include "definitions/messages.h"

#include "definitions/full_path.h"
#include "definitions/profile.h"
#include "definitions/profile_cache.h"

namespace quenmark {

namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    size_t position = text.find(from);
    while (position != std::string::npos) {
        text.replace(position, from.size(), to);
        position = text.find(from, position + to.size());
    }
}

}  // namespace

std::string ExpandMessageEscapes(std::string text) {
    if (text.find('\\') == std::string::npos) return text;
    ReplaceAll(text, "\\t", "\t");
    ReplaceAll(text, "\\T", "\t");
    ReplaceAll(text, "\\n", "\r\n");
    ReplaceAll(text, "\\N", "\r\n");
    return text;
}

std::string ReplaceArgument(std::string_view text, std::string_view argument) {
    std::string result;
    size_t start = 0;
    for (size_t found; (found = text.find("%1", start)) != std::string_view::npos; start = found + 2) {
        result.append(text, start, found - start);
        result.append(argument);
    }
    result.append(text.substr(start));
    return result;
}

TCCMessages::TCCMessages(const TCCContext& context, std::string fileName, std::string directory)
    : FContext(&context), FFileName(std::move(fileName)), FFullPath(quenmark::FullPath(directory, FFileName)) {}

// The header is wanted only by the language pages: a run that shows no
// text never reads the file.
void TCCMessages::ReadHeader() const {
    std::call_once(FHeaderRead, [this] {
        if (!FContext || FFileName.empty()) return;
        const TProfileCache::Snapshot snapshot = LoadDefinitionFile(*FContext, FFullPath);
        std::string purpose;
        ReadProfileString(*snapshot.Text, "Information", "Purpose", purpose);
        if (purpose != Purpose) return;
        ReadProfileString(*snapshot.Text, "Information", "Language", FLanguage);
        ReadProfileInteger(*snapshot.Text, "Information", "Codepage", FCodepage);
    });
}

const std::string& TCCMessages::Language() const {
    ReadHeader();
    return FLanguage;
}

int32_t TCCMessages::Codepage() const {
    ReadHeader();
    return FCodepage;
}

std::string TCCMessages::GetText(std::string_view code) const {
    if (!FContext || FFileName.empty()) return std::string(code);
    // Texts are looked up by the thousand: the file is checked at most once
    // per line or per RecentInterval, not at every lookup.
    const TProfileCache::Snapshot snapshot =
        LoadDefinitionFile(*FContext, FFullPath, TProfileCache::Freshness::Recent);
    std::string text(code);
    ReadProfileString(*snapshot.Text, "Messages", code, text);
    return ExpandMessageEscapes(std::move(text));
}

std::string TCCMessages::GetTextWith(std::string_view code, std::string_view argument) const {
    return ReplaceArgument(GetText(code), argument);
}

}  // namespace quenmark
