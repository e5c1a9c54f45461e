#pragma once

#include <streambuf>

namespace quenmark {

class TConsoleOutput;

// Standard output's buffer: bytes go to the file descriptor with write(2)
// from a fixed array, so that what is buffered can still be handed on from
// a fatal-signal handler, without locks or allocation.
class TDescriptorOutputBuffer : public std::streambuf {
public:
    explicit TDescriptorOutputBuffer(int descriptor);
    TDescriptorOutputBuffer(const TDescriptorOutputBuffer&) = delete;
    TDescriptorOutputBuffer& operator=(const TDescriptorOutputBuffer&) = delete;

    // Writes the buffered bytes without changing the buffer's state.
    // Async-signal-safe; for a process about to end.
    void WritePendingNow() const;
    // The error number of the first write that failed; 0 while none has.
    int FirstError() const { return FFirstError; }

protected:
    int_type overflow(int_type byte) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

private:
    static constexpr size_t Room = 16384;

    bool Drain();
    void NoteFailure();

    int FDescriptor;
    int FFirstError = 0;
    char FBytes[Room];
};

// Puts std::cout on such a buffer for standard output. The buffer lives to
// the very end of the process, past the flush of the standard streams.
void UseCrashFlushedStandardOutput();
// Why a write to standard output failed first (an errno value); 0 when
// none has.
int StandardOutputError();
// The console output whose gathered lines a crash writes too, after the
// stream's buffer.
void FlushOnCrash(const TConsoleOutput* output);
// The crash handler's hook: standard output's buffer, then the gathered
// lines, then the terminal's settings put back. Async-signal-safe.
void FlushOutputOnCrash();

}  // namespace quenmark
