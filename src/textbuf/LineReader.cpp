// Cutting a file into lines.
//
// Reading is the hot path of opening a program of millions of lines, so it
// does not walk the bytes one at a time: it reads large blocks and finds the
// separator's first byte with memchr.  The result is the same as the
// byte-by-byte matcher that defines the format: a two-byte separator [a b]
// ends a line only where a is directly followed by b, and the byte after an a
// that is not b is never tested again as the start of a separator (so CR CR
// LF does not end a DOS line).
#include "LineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TextTypes.h"

namespace {

// Reads until count bytes or the end of the file; -1 on error.
ssize_t ReadFull(int fd, char* buffer, size_t count)
{
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd, buffer + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += size_t(n);
    }
    return ssize_t(done);
}

int DetectEolStyle(const char* block, size_t length)
{
    const char* lf = static_cast<const char*>(std::memchr(block, '\n', length));
    if (!lf)
        return EOL_DOS;
    const size_t i = size_t(lf - block);
    if (i > 0 && block[i - 1] == '\r')
        return EOL_DOS;
    if (i + 1 < length && block[i + 1] == '\r')
        return EOL_UNIX;
    return EOL_MAC;
}

}  // namespace

const char* EolSeparator(int style)
{
    switch (style) {
    case EOL_UNIX:
        return "\n\r";
    case EOL_MAC:
        return "\n";
    default:
        return "\r\n";
    }
}

LineReader::LineReader(size_t blockSize) : m_blockSize(std::max(blockSize, kDetectBlock)) {}

LineReader::~LineReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void LineReader::SetError(const char* what, int err)
{
    m_error = what;
    if (err != 0) {
        m_error += ": ";
        m_error += std::strerror(err);
    }
}

bool LineReader::Open(const char* path)
{
    m_error.clear();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    struct stat st {};
    if (::stat(path, &st) != 0) {
        SetError("cannot read the file's attributes", errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        SetError("is a folder", 0);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        SetError("is not a regular file", 0);
        return false;
    }
    m_fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        SetError("cannot open", errno);
        return false;
    }
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_path = path;
    m_fileSize = uint64_t(st.st_size);
    m_mode = st.st_mode;
    return true;
}

bool LineReader::IsWritable() const
{
    return ::access(m_path.c_str(), W_OK) == 0 && (m_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool LineReader::Read(int style, Sink& sink)
{
    m_error.clear();
    m_linesRead = 0;
    if (m_fd < 0) {
        SetError("cannot open", EBADF);
        return false;
    }
    if (::lseek(m_fd, 0, SEEK_SET) != 0) {
        SetError("read error", errno);
        return false;
    }
    // A block of the file's size (the byte past it shows the end), at most
    // the block size: a small program does not pay for clearing megabytes.
    // A buffer that grew for a long line in an earlier reading stays as it is.
    const size_t wanted = size_t(std::clamp<uint64_t>(m_fileSize + 1, kDetectBlock, m_blockSize));
    if (m_buffer.size() < wanted)
        m_buffer.resize(wanted);
    std::vector<char>& buffer = m_buffer;

    ssize_t got = ReadFull(m_fd, buffer.data(), kDetectBlock);
    if (got < 0) {
        SetError("read error", errno);
        return false;
    }
    size_t filled = size_t(got);
    uint64_t bytesRead = filled;
    bool eof = filled < kDetectBlock;
    // The style shows at the first LF and the byte after it.  A first line
    // longer than the first block (a program written as one line) is read
    // on until they come, or the file ends.
    const auto styleKnown = [&] {
        const char* lf = static_cast<const char*>(std::memchr(buffer.data(), '\n', filled));
        return lf && lf + 1 < buffer.data() + filled;
    };
    // Fills the buffer from filled on; false on a read error.
    const auto readMore = [&] {
        got = ReadFull(m_fd, buffer.data() + filled, buffer.size() - filled);
        if (got < 0) {
            SetError("read error", errno);
            return false;
        }
        eof = size_t(got) < buffer.size() - filled;
        filled += size_t(got);
        bytesRead += uint64_t(got);
        return true;
    };
    while (style == EOL_AUTO && !eof && !styleKnown()) {
        if (filled == buffer.size())
            buffer.resize(buffer.size() * 2);
        if (!readMore())
            return false;
    }
    m_eolStyle = style == EOL_AUTO ? DetectEolStyle(buffer.data(), filled) : style;
    const char* separator = EolSeparator(m_eolStyle);
    const char a = separator[0];
    const char b = separator[1];  // 0 for the one-byte separator
    const size_t sepLength = b ? 2 : 1;

    bool mayHoldNul = false;
    const auto handOver = [&](const char* bytes, size_t length) {
        if (mayHoldNul)
            if (const void* nul = std::memchr(bytes, 0, length))
                length = size_t(static_cast<const char*>(nul) - bytes);
        sink.LineRead(bytes, length);
        ++m_linesRead;
    };

    size_t lineStart = 0;  // start of the line being cut, in buffer
    size_t scan = 0;       // where to look for the separator next
    for (;;) {
        if (!eof && !readMore())
            return false;
        char* data = buffer.data();
        mayHoldNul = std::memchr(data + lineStart, 0, filled - lineStart) != nullptr;
        while (scan < filled) {
            const char* hit = static_cast<const char*>(std::memchr(data + scan, a, filled - scan));
            if (!hit) {
                scan = filled;
                break;
            }
            const size_t p = size_t(hit - data);
            if (sepLength == 1) {
                handOver(data + lineStart, p - lineStart);
                lineStart = scan = p + 1;
                continue;
            }
            if (p + 1 == filled) {
                // The next byte decides; look at this one again after the
                // next read (it was found in the matcher's initial state, so
                // starting over from it gives the same result).
                scan = eof ? filled : p;
                break;
            }
            if (data[p + 1] == b) {
                handOver(data + lineStart, p - lineStart);
                lineStart = scan = p + 2;
            } else {
                scan = p + 2;  // the byte that broke the match is not tested again
            }
        }
        if (eof)
            handOver(data + lineStart, filled - lineStart);
        if (!sink.BlockRead(bytesRead, m_fileSize)) {
            SetError("the reading was stopped", 0);
            return false;
        }
        if (eof)
            return true;
        // Keep the unfinished line and read on behind it.
        std::memmove(data, data + lineStart, filled - lineStart);
        filled -= lineStart;
        scan -= lineStart;
        lineStart = 0;
        if (filled == buffer.size())
            buffer.resize(buffer.size() * 2);
    }
}
