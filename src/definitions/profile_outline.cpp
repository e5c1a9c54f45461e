#include "definitions/profile_outline.h"

#include "definitions/profile_lines.h"

namespace quenmark {

std::string OutlinePlaceholder(size_t index) { return "\n" + std::to_string(index); }

int OutlinePlaceholderIndex(std::string_view line) {
    if (line.size() < 2 || line.front() != '\n') return -1;
    int index = 0;
    for (char c : line.substr(1)) {
        if (c < '0' || c > '9' || index > 1000) return -1;
        index = index * 10 + (c - '0');
    }
    return index;
}

namespace {

// The index of the section whose header line this is and whose body has
// not been found yet; -1 for none.
int NewHeaderIndex(std::string_view trimmed, const std::vector<std::string>& sections,
                   const std::vector<TProfileOutline::Body>& bodies) {
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return -1;
    const std::string_view name = trimmed.substr(1, trimmed.size() - 2);
    for (size_t i = 0; i < sections.size(); ++i)
        if (!bodies[i].Found && sections[i] == name) return static_cast<int>(i);
    return -1;
}

}  // namespace

bool ReadProfileOutline(int fd, const std::vector<std::string>& sections, TProfileOutline& outline) {
    outline.Bodies.assign(sections.size(), {});
    std::vector<std::string> lines;
    TProfileLineReader reader(fd);
    int inBody = -1;  // the section whose body is being passed over
    std::string line;
    for (off_t at = reader.Offset(); reader.Next(line); at = reader.Offset()) {
        const std::string_view trimmed = TrimControls(line);
        if (inBody >= 0) {
            if (trimmed.empty() || trimmed.front() != '[') continue;
            outline.Bodies[static_cast<size_t>(inBody)].End = at;
            inBody = -1;
        }
        const int header = NewHeaderIndex(trimmed, sections, outline.Bodies);
        lines.push_back(std::move(line));
        if (header < 0) continue;
        inBody = header;
        TProfileOutline::Body& body = outline.Bodies[static_cast<size_t>(header)];
        body.Found = true;
        body.Start = body.End = reader.Offset();
        lines.push_back(OutlinePlaceholder(static_cast<size_t>(header)));
    }
    if (reader.Failed()) return false;
    if (inBody >= 0) outline.Bodies[static_cast<size_t>(inBody)].End = reader.Offset();
    outline.Text = TProfileText(std::move(lines));
    return true;
}

bool ForEachBodyLine(int fd, const TProfileOutline::Body& body, const std::function<void(std::string_view)>& visit) {
    if (!body.Found) return true;
    TProfileLineReader reader(fd, body.Start, body.End);
    for (std::string line; reader.Next(line);) visit(TrimControls(line));
    return !reader.Failed();
}

}  // namespace quenmark
