#include "app/startup_shortcut.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/program_directory.h"
#include "platform/user_account.h"

namespace quenmark {

namespace {

constexpr const char* AutostartDirectory = "/.config/autostart";
constexpr const char* EntryFileName = "/Quenmark.desktop";

// A value of the desktop-entry format: backslashes and control characters
// escaped, so that the value stays on its one line.
std::string EscapeValue(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        case '\t': escaped += "\\t"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

// One argument of an Exec line: always quoted, with the characters that
// are special inside quotes escaped, and "%" doubled so that it is no
// field code.
std::string QuoteArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';
    }
    return quoted + "\"";
}

// Creates directory and its missing parents, private to the user as the
// XDG directories are.
bool MakeDirectories(const std::string& directory) {
    struct stat status {};
    if (stat(directory.c_str(), &status) == 0) return S_ISDIR(status.st_mode);
    const size_t slash = directory.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(directory.substr(0, slash))) {
        return false;
    }
    return mkdir(directory.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string ExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string GetStartupShortcutPath(const std::string& homeDirectory) {
    if (homeDirectory.empty()) return {};
    std::string home = homeDirectory;
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    if (home == "/") home.clear();
    return home + AutostartDirectory + EntryFileName;
}

std::string GetStartupShortcutPath() { return GetStartupShortcutPath(HomeDirectory()); }

std::string StartupShortcutText(const std::string& programPath) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Quenmark\n"
           "Exec=" +
           EscapeValue(QuoteArgument(programPath)) +
           "\n"
           "Path=" +
           EscapeValue(DirectoryOfPath(programPath)) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool CreateStartupShortcut(const std::string& homeDirectory, const std::string& programPath) {
    const std::string path = GetStartupShortcutPath(homeDirectory);
    if (path.empty() || programPath.empty()) return false;
    if (!MakeDirectories(path.substr(0, path.rfind('/')))) return false;
    return ReplaceFileContents(path, StartupShortcutText(programPath)).has_value();
}

bool CreateStartupShortcut() { return CreateStartupShortcut(HomeDirectory(), ExecutablePath()); }

bool StartupShortcutExists(const std::string& homeDirectory) {
    const std::string path = GetStartupShortcutPath(homeDirectory);
    struct stat status {};
    return !path.empty() && stat(path.c_str(), &status) == 0;
}

bool StartupShortcutExists() { return StartupShortcutExists(HomeDirectory()); }

void DeleteStartupShortcut(const std::string& homeDirectory) {
    const std::string path = GetStartupShortcutPath(homeDirectory);
    if (!path.empty()) unlink(path.c_str());
}

void DeleteStartupShortcut() { DeleteStartupShortcut(HomeDirectory()); }

}  // namespace quenmark
