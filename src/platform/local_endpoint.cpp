#include "platform/local_endpoint.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace quenmark {

namespace {

constexpr int ListenBacklog = 8;

std::optional<sockaddr_un> AddressOf(const std::string& path) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path) return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    return address;
}

// The send and receive timeouts also bound a connect to a listener whose
// queue is full.
void SetTimeouts(int descriptor, int timeoutMs) {
    timeval limit{};
    limit.tv_sec = timeoutMs / 1000;
    limit.tv_usec = (timeoutMs % 1000) * 1000;
    setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
}

// A connected socket, or -1.
int ConnectTo(const std::string& path, int timeoutMs) {
    const std::optional<sockaddr_un> address = AddressOf(path);
    if (!address) return -1;
    const int descriptor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0) return -1;
    SetTimeouts(descriptor, timeoutMs);
    int result;
    do {
        result = connect(descriptor, reinterpret_cast<const sockaddr*>(&*address), sizeof *address);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        close(descriptor);
        return -1;
    }
    return descriptor;
}

bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = send(descriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

bool PeerIsThisUser(int descriptor) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (descriptor < 0 || getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return false;
    return credentials.uid == geteuid();
}

TLocalListener::~TLocalListener() {
    if (FDescriptor < 0) return;
    close(FDescriptor);
    unlink(FPath.c_str());
}

bool TLocalListener::Listen(const std::string& path) {
    if (IsListening()) return true;
    const std::optional<sockaddr_un> address = AddressOf(path);
    if (!address) return false;
    const int descriptor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0) return false;
    unlink(path.c_str());
    // Created closed to others: no moment in which another user could connect.
    const mode_t previousMask = umask(0077);
    const bool bound = bind(descriptor, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0;
    umask(previousMask);
    if (!bound || listen(descriptor, ListenBacklog) != 0) {
        close(descriptor);
        return false;
    }
    FDescriptor = descriptor;
    FPath = path;
    return true;
}

int TLocalListener::AcceptFromThisUser() {
    while (FDescriptor >= 0) {
        const int connection = accept4(FDescriptor, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return -1;
        }
        if (PeerIsThisUser(connection)) return connection;
        close(connection);
    }
    return -1;
}

bool SendToLocalListener(const std::string& path, std::string_view bytes, int timeoutMs) {
    const int descriptor = ConnectTo(path, timeoutMs);
    if (descriptor < 0) return false;
    const bool sent = PeerIsThisUser(descriptor) && WriteAll(descriptor, bytes);
    close(descriptor);
    return sent;
}

bool LocalListenerAnswers(const std::string& path, int timeoutMs) {
    const int descriptor = ConnectTo(path, timeoutMs);
    if (descriptor < 0) return false;
    close(descriptor);
    return true;
}

}  // namespace quenmark
