#include "app/streamed_merge.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "definitions/profile_cache.h"
#include "definitions/profile_outline.h"
#include "platform/atomic_file.h"

namespace quenmark {

namespace {

// The source's descriptor, closed at the end; -1 for a missing file.
class TSourceFile {
public:
    TSourceFile() = default;
    ~TSourceFile() {
        if (FFd >= 0) close(FFd);
    }
    TSourceFile(const TSourceFile&) = delete;
    TSourceFile& operator=(const TSourceFile&) = delete;

    // False when the file is there but cannot be read as a regular file.
    bool Open(const std::string& path) {
        // Without O_NONBLOCK a FIFO in the file's place would block the open.
        FFd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (FFd < 0) return errno == ENOENT;
        struct stat status {};
        if (fstat(FFd, &status) != 0) return false;
        if (S_ISREG(status.st_mode)) return true;
        errno = NotRegularError(status);
        return false;
    }
    int Fd() const { return FFd; }

private:
    int FFd = -1;
};

// Puts out the merged file: the outline's lines trimmed, each placeholder
// replaced by its section's merged lines, then the sections the file lacks.
class TOutlineRenderer {
public:
    TOutlineRenderer(int fd, const TProfileOutline& outline, const TSettingsMerge& merge, TFileBlockWriter& out)
        : FFd(fd), FOutline(outline), FMerge(merge), FOut(out) {}

    // False when the source could not be read again; errno tells why.
    bool Render() {
        for (const std::string& line : FOutline.Text.Lines()) {
            const int index = OutlinePlaceholderIndex(line);
            if (index >= 0) PutSection(static_cast<size_t>(index));
            else PutLine(TrimControls(line));
        }
        for (size_t i = 0; i < FMerge.Sections.size(); ++i) {
            if (FOutline.Bodies[i].Found) continue;
            PutLine("[" + FMerge.Sections[i].Name + "]");
            PutSection(i);
        }
        if (FReadError != 0) errno = FReadError;
        return FReadError == 0;
    }

private:
    void PutLine(std::string_view line) {
        FOut.Put(line);
        FOut.Put("\r\n");
    }
    void PutSection(size_t index) {
        const TSectionLines fileLines = [this, index](const TLineVisitor& visit) {
            if (FFd >= 0 && !ForEachBodyLine(FFd, FOutline.Bodies[index], visit) && FReadError == 0)
                FReadError = errno != 0 ? errno : EIO;
        };
        FMerge.Sections[index].Merge(fileLines, [this](std::string_view line) { PutLine(line); });
    }

    int FFd;
    const TProfileOutline& FOutline;
    const TSettingsMerge& FMerge;
    TFileBlockWriter& FOut;
    int FReadError = 0;
};

}  // namespace

bool WriteStreamedMerge(const std::string& source, const std::string& fileName, const TSettingsMerge& merge) {
    TSourceFile file;
    if (!file.Open(source)) return false;
    std::vector<std::string> names;
    for (const TSettingsMerge::Section& section : merge.Sections) names.push_back(section.Name);
    TProfileOutline outline;
    outline.Bodies.assign(names.size(), {});
    if (file.Fd() >= 0 && !ReadProfileOutline(file.Fd(), names, outline)) return false;
    if (merge.Edit) merge.Edit(outline.Text);
    return ReplaceFileStreamed(fileName, [&](TFileBlockWriter& out) {
               return TOutlineRenderer(file.Fd(), outline, merge, out).Render();
           }).has_value();
}

}  // namespace quenmark
