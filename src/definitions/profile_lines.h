#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace quenmark {

// Reads the lines of an open file one at a time through a buffer of its
// own, splitting them as SplitLines does (CR LF, a lone LF or a lone CR end
// a line; a line end at the very end starts no further line), so that a
// file is never held whole. Reads bytes from start up to end (the end of
// the file when negative); at the start of the file a UTF-8 byte-order mark
// is dropped. The descriptor stays open and is read with pread, so that
// several readers can go over one file.
class TProfileLineReader {
public:
    TProfileLineReader(int fd, off_t start = 0, off_t end = -1);

    // The next line into line; false at the end or on a read error (Failed).
    bool Next(std::string& line);
    // The file offset of the first byte of the line Next returns next.
    off_t Offset() const { return FLineStart; }
    // Whether a read failed; errno tells why.
    bool Failed() const { return FFailed; }

private:
    bool Fill();

    int FFd;
    off_t FReadAt;   // the file offset of the next byte to read
    off_t FEnd;
    off_t FLineStart;
    bool FFailed = false;
    bool FAtEnd = false;
    size_t FUsed = 0;
    size_t FSize = 0;
    char FBuffer[65536];
};

}  // namespace quenmark
