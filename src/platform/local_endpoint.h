#pragma once

#include <string>
#include <string_view>

namespace quenmark {

// A Unix stream socket bound to a path, on which a running copy of the
// program is found by the next launch. Only connections from processes of
// this user are handed out. The socket file is removed when the listener
// ends.
class TLocalListener {
public:
    TLocalListener() = default;
    TLocalListener(const TLocalListener&) = delete;
    TLocalListener& operator=(const TLocalListener&) = delete;
    ~TLocalListener();

    // Binds and listens at the path, open to this user only; a file left
    // at the path is replaced. False when the path is too long or cannot
    // be bound.
    bool Listen(const std::string& path);
    bool IsListening() const { return FDescriptor >= 0; }
    // The descriptor to watch for readability; -1 when not listening.
    int Descriptor() const { return FDescriptor; }

    // A pending connection from this user, non-blocking and closed on exec;
    // -1 when none is pending. Connections of other users are closed.
    int AcceptFromThisUser();

private:
    int FDescriptor = -1;
    std::string FPath;
};

// Connects to the listener at the path and sends the bytes; true when a
// listener of this user took them within the time.
bool SendToLocalListener(const std::string& path, std::string_view bytes, int timeoutMs);

// Whether a listener accepts connections at the path within the time.
bool LocalListenerAnswers(const std::string& path, int timeoutMs);

// Whether the process at the other end of a connected socket runs as this
// process's effective user.
bool PeerIsThisUser(int descriptor);

}  // namespace quenmark
