#include "console/crash_flushed_output.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "console/console_output.h"
#include "console/terminal_state.h"

namespace quenmark {

namespace {

TDescriptorOutputBuffer* standardOutput = nullptr;
std::atomic<const TConsoleOutput*> crashOutput{nullptr};

bool WriteAll(int descriptor, const char* bytes, size_t size) {
    while (size > 0) {
        const ssize_t written = write(descriptor, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;  // a write that takes nothing would never end
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

TDescriptorOutputBuffer::TDescriptorOutputBuffer(int descriptor) : FDescriptor(descriptor) {
    setp(FBytes, FBytes + Room);
}

bool TDescriptorOutputBuffer::Drain() {
    const bool written = WriteAll(FDescriptor, pbase(), static_cast<size_t>(pptr() - pbase()));
    setp(FBytes, FBytes + Room);
    if (!written) NoteFailure();
    return written;
}

// A write that took nothing without an error counts as an input/output
// error.
void TDescriptorOutputBuffer::NoteFailure() {
    if (FFirstError == 0) FFirstError = errno != 0 ? errno : EIO;
}

TDescriptorOutputBuffer::int_type TDescriptorOutputBuffer::overflow(int_type byte) {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(byte, traits_type::eof())) return traits_type::not_eof(byte);
    *pptr() = traits_type::to_char_type(byte);
    pbump(1);
    return byte;
}

std::streamsize TDescriptorOutputBuffer::xsputn(const char* bytes, std::streamsize count) {
    const auto size = static_cast<size_t>(count);
    if (size <= static_cast<size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), bytes, size);
        pbump(static_cast<int>(count));
        return count;
    }
    if (!Drain()) return 0;
    if (size >= Room) {
        if (WriteAll(FDescriptor, bytes, size)) return count;
        NoteFailure();
        return 0;
    }
    std::memcpy(pptr(), bytes, size);
    pbump(static_cast<int>(count));
    return count;
}

int TDescriptorOutputBuffer::sync() { return Drain() ? 0 : -1; }

void TDescriptorOutputBuffer::WritePendingNow() const {
    WriteAll(FDescriptor, pbase(), static_cast<size_t>(pptr() - pbase()));
}

void UseCrashFlushedStandardOutput() {
    if (!standardOutput) standardOutput = new TDescriptorOutputBuffer(STDOUT_FILENO);
    std::cout.rdbuf(standardOutput);
}

int StandardOutputError() { return standardOutput ? standardOutput->FirstError() : 0; }

void FlushOnCrash(const TConsoleOutput* output) { crashOutput.store(output); }

void FlushOutputOnCrash() {
    if (standardOutput) standardOutput->WritePendingNow();
    if (const TConsoleOutput* output = crashOutput.load()) output->WriteGatheredNow(STDOUT_FILENO);
    RestoreTerminal();
}

}  // namespace quenmark
