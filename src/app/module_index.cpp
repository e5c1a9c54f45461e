#include "app/module_index.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/atomic_file.h"

namespace quenmark {

namespace {

std::string Escaped(std::string_view text) {
    std::string result;
    for (const char c : text) {
        switch (c) {
        case '\\': result += "\\\\"; break;
        case '\t': result += "\\t"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        default: result += c;
        }
    }
    return result;
}

// Most texts hold no escape: they are copied as they are.
std::string Unescaped(std::string_view text) {
    if (text.find('\\') == std::string_view::npos) return std::string(text);
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const char next = text[++i];
        result += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return result;
}

// The fields of a line split at tabs, still escaped; a line of more fields
// than any entry line has ends at Most, which no line kind accepts.
struct TFields {
    static constexpr size_t Most = 7;
    std::string_view Items[Most];
    size_t Count = 0;
    std::string operator[](size_t index) const { return Unescaped(Items[index]); }
};

TFields SplitFields(std::string_view text) {
    TFields fields;
    for (size_t start = 0; fields.Count < TFields::Most;) {
        const size_t tab = text.find('\t', start);
        fields.Items[fields.Count++] = text.substr(start, tab == std::string_view::npos ? tab : tab - start);
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return fields;
}

template <typename Number>
bool ReadNumber(std::string_view& text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) return false;
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return true;
}

std::string ValueText(const Variant& value) {
    if (value.IsString()) return "s" + Escaped(value.AsString());
    if (value.IsInteger()) return "i" + std::to_string(value.AsInteger());
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.AsReal(), std::chars_format::hex).ptr;
    return "r" + std::string(buffer, end);
}

// The text of a value whose field was unescaped already.
std::optional<Variant> ParseValue(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const char kind = text.front();
    text.remove_prefix(1);
    if (kind == 's') return Variant(text);
    if (kind == 'i') {
        int32_t number = 0;
        if (!ReadNumber(text, number) || !text.empty()) return std::nullopt;
        return Variant(number);
    }
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::hex);
    if (kind != 'r' || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return Variant(number);
}

void PutEntry(std::ostringstream& out, const TModuleIndexEntry& entry) {
    const TModuleFileStamp& stamp = entry.Key.Stamp;
    const TModuleOffer& offer = entry.Offer;
    out << "module " << stamp.Size << ' ' << stamp.ModifiedSeconds << ' ' << stamp.ModifiedNanoseconds << ' '
        << entry.Key.Inode << ' ' << stamp.Path << '\n';
    out << "loads " << (offer.Loads ? 1 : 0) << '\n';
    if (!offer.FailureCode.empty())
        out << "failure " << Escaped(offer.FailureCode) << '\t' << Escaped(offer.FailureReason) << '\n';
    const TOfferedInfo& info = offer.Info;
    out << "info " << Escaped(info.Name) << '\t' << Escaped(info.Comment) << '\t' << Escaped(info.ModuleType) << '\t'
        << Escaped(info.InterpreterLevel) << '\t' << Escaped(info.Author) << '\t' << Escaped(info.Copyright) << '\n';
    for (const TOfferedConstant& constant : offer.Constants)
        out << "constant " << Escaped(constant.Name) << '\t' << Escaped(constant.Description) << '\t'
            << ValueText(constant.Value) << '\n';
    for (const TOfferedFunction& function : offer.Functions)
        out << "function " << Escaped(function.Name) << '\t' << function.ArgCount << '\t'
            << Escaped(function.Description) << '\n';
    out << "reached " << (offer.FunctionsEntered ? 1 : 0) << ' ' << (offer.OutputConnected ? 1 : 0) << '\n';
    out << "tokenizer " << (offer.Tokenizer ? 1 : 0);
    if (offer.DeclaresTokenStarts) out << '\t' << Escaped(offer.TokenStarts);
    out << "\nend\n";
}

std::optional<TModuleIndexKey> ParseKey(std::string_view text) {
    TModuleIndexKey key;
    TModuleFileStamp& stamp = key.Stamp;
    if (!ReadNumber(text, stamp.Size) || !ReadNumber(text, stamp.ModifiedSeconds) ||
        !ReadNumber(text, stamp.ModifiedNanoseconds) || !ReadNumber(text, key.Inode) || text.empty() ||
        text.front() != '/')
        return std::nullopt;
    stamp.Path = std::string(text);
    return key;
}

// One line of an entry into its offer; false for a line that does not read.
bool ParseEntryLine(std::string_view keyword, std::string_view rest, TModuleOffer& offer) {
    const TFields fields = SplitFields(rest);
    if (keyword == "loads") offer.Loads = rest == "1";
    else if (keyword == "failure" && fields.Count == 2) offer.FailureCode = fields[0], offer.FailureReason = fields[1];
    else if (keyword == "info" && fields.Count == 6)
        offer.Info = {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    else if (keyword == "constant" && fields.Count == 3) {
        std::optional<Variant> value = ParseValue(fields[2]);
        if (!value) return false;
        offer.Constants.push_back({fields[0], fields[1], std::move(*value)});
    } else if (keyword == "function" && fields.Count == 3) {
        std::string_view count = fields.Items[1];
        int32_t argCount = 0;
        if (!ReadNumber(count, argCount) || !count.empty()) return false;
        offer.Functions.push_back({fields[0], fields[2], argCount});
    } else if (keyword == "reached" && rest.size() == 3) {
        offer.FunctionsEntered = rest[0] == '1';
        offer.OutputConnected = rest[2] == '1';
    } else if (keyword == "tokenizer" && fields.Count >= 1) {
        offer.Tokenizer = fields.Items[0] == "1";
        offer.DeclaresTokenStarts = fields.Count == 2;
        if (offer.DeclaresTokenStarts) offer.TokenStarts = fields[1];
    } else
        return false;
    return true;
}


}  // namespace

std::optional<TModuleIndexKey> IndexKeyOfFile(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return TModuleIndexKey{{path, static_cast<int64_t>(status.st_size), static_cast<int64_t>(status.st_mtim.tv_sec),
                            static_cast<int64_t>(status.st_mtim.tv_nsec)},
                           static_cast<uint64_t>(status.st_ino)};
}

std::string ModuleIndexText(const std::vector<TModuleIndexEntry>& entries) {
    std::ostringstream out;
    for (const TModuleIndexEntry& entry : entries)
        if (entry.Key.Stamp.Path.find('\n') == std::string::npos) PutEntry(out, entry);
    return out.str();
}

std::vector<TModuleIndexEntry> ParseModuleIndex(std::string_view text) {
    std::vector<TModuleIndexEntry> entries;
    std::optional<TModuleIndexEntry> open;
    bool whole = true;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const size_t space = line.find(' ');
        const std::string_view keyword = line.substr(0, space);
        const std::string_view rest = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        if (keyword == "module") {
            open.reset();
            whole = true;
            if (std::optional<TModuleIndexKey> key = ParseKey(rest)) open = TModuleIndexEntry{std::move(*key), {}};
        } else if (keyword == "end") {
            if (open && whole) entries.push_back(std::move(*open));
            open.reset();
        } else if (open && !ParseEntryLine(keyword, rest, open->Offer))
            whole = false;
    }
    return entries;
}

TModuleIndex::TModuleIndex(std::string directory)
    : TModuleIndex(directory, ReadModuleCacheFile(directory)) {}

TModuleIndex::TModuleIndex(std::string directory, std::string_view cacheText) : FDirectory(std::move(directory)) {
    if (FDirectory.empty()) return;
    for (TModuleIndexEntry& entry : ParseModuleIndex(cacheText))
        FRead.push_back({std::move(entry.Key), std::make_shared<const TModuleOffer>(std::move(entry.Offer))});
}

bool TModuleIndex::Writable() const {
    if (FDirectory.empty()) return false;
    const std::string parent = FDirectory.substr(0, FDirectory.find_last_of('/', FDirectory.size() - 2));
    if (!parent.empty()) mkdir(parent.c_str(), 0700);
    mkdir(FDirectory.c_str(), 0700);
    const std::string path = FDirectory + QuarantineFileName;
    if (access(path.c_str(), F_OK) == 0) return access(path.c_str(), W_OK) == 0;
    return access(FDirectory.c_str(), W_OK | X_OK) == 0;
}

std::shared_ptr<const TModuleOffer> TModuleIndex::Find(const TModuleIndexKey& key) const {
    for (const TIndexed& entry : FRead)
        if (entry.Key == key) return entry.Offer;
    return nullptr;
}

void TModuleIndex::Keep(const TModuleIndexKey& key, std::shared_ptr<const TModuleOffer> offer) {
    FKept.push_back({key, std::move(offer)});
}

// An entry found in the index is kept as the same object.
bool TModuleIndex::Changed() const {
    if (FKept.size() != FRead.size()) return true;
    for (size_t i = 0; i < FKept.size(); ++i)
        if (FKept[i].Key != FRead[i].Key || FKept[i].Offer != FRead[i].Offer) return true;
    return false;
}

// The crash records are read again just before the write, so that one a
// crashing copy of the program appended meanwhile is kept.
bool TModuleIndex::Write() const {
    if (FDirectory.empty()) return false;
    const std::string path = FDirectory + QuarantineFileName;
    std::string text;
    std::istringstream current(ReadModuleCacheFile(FDirectory));
    for (std::string line; std::getline(current, line);)
        if (ParseQuarantineRecord(line)) text += line + "\n";
    std::vector<TModuleIndexEntry> entries;
    for (const TIndexed& entry : FKept) entries.push_back({entry.Key, *entry.Offer});
    text += ModuleIndexText(entries);
    return ReplaceFileContents(path, text).has_value();
}

}  // namespace quenmark
