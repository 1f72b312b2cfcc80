// Loading a file into lines and writing lines back to a file.
//
// The line-ending style is detected at the file's first LF: LF CR is the
// Unix style, CR LF or no LF at all the DOS style, a LF alone the Mac style.
//
// Loading is the hot path of opening a program of millions of lines, so it
// does not walk the bytes one at a time: it reads large blocks, finds the
// separator's first byte with memchr and copies each line into a slot carved
// from a LineStore block.  The result is the same as the byte-by-byte matcher
// that defines the format: a two-byte separator [a b] ends a line only where
// a is directly followed by b, and the byte after an a that is not b is never
// tested again as the start of a separator (so CR CR LF does not end a DOS
// line).
//
// Saving writes a temporary file next to the target, flushes it to disk and
// renames it over the target, so that at every moment either the old or the
// new file is complete under the target's name.
#include "CTextBuffer.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kDetectBlock = 32768;
constexpr size_t kReadBlock = size_t(4) << 20;

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

bool WriteFull(int fd, const char* data, size_t count)
{
    while (count > 0) {
        const ssize_t n = ::write(fd, data, count);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        count -= size_t(n);
    }
    return true;
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

const char* SeparatorOf(int style)
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

// Collects the lines of a load; the buffer takes them over only when the
// whole file was read.
class LineCollector
{
public:
    explicit LineCollector(LineStore& store) : m_store(store) {}

    void Add(const char* bytes, size_t length, bool mayHoldNul)
    {
        if (mayHoldNul)
            if (const void* nul = std::memchr(bytes, 0, length))
                length = size_t(static_cast<const char*>(nul) - bytes);
        CTextBuffer::TextLine line;
        line.length = int32_t(length);
        line.capacity = LineCapacityFor(line.length);
        line.text = m_store.Allocate(size_t(line.capacity));
        std::memcpy(line.text, bytes, length);
        m_lines.push_back(line);
    }

    SplitVector<CTextBuffer::TextLine>::Body m_lines;

private:
    LineStore& m_store;
};

}  // namespace

void CTextBuffer::SetFileError(std::string what, int err)
{
    m_lastFileError = std::move(what);
    if (err != 0) {
        m_lastFileError += ": ";
        m_lastFileError += std::strerror(err);
    }
}

bool CTextBuffer::LoadFile(const char* path, int style, LoadListener* listener)
{
    m_lastFileError.clear();
    struct stat st {};
    if (::stat(path, &st) != 0) {
        SetFileError("cannot read the file's attributes", errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        SetFileError("is a folder", 0);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        SetFileError("is not a regular file", 0);
        return false;
    }
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetFileError("cannot open", errno);
        return false;
    }
    struct FdCloser
    {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    // A block of the file's size (the byte past it shows the end), at most
    // kReadBlock: a small program does not pay for clearing megabytes.
    std::vector<char> buffer(size_t(std::clamp<uint64_t>(uint64_t(st.st_size) + 1, kDetectBlock, kReadBlock)));
    ssize_t got = ReadFull(fd, buffer.data(), kDetectBlock);
    if (got < 0) {
        SetFileError("read error", errno);
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
    while (style == EOL_AUTO && !eof && !styleKnown()) {
        if (filled == buffer.size())
            buffer.resize(buffer.size() * 2);
        got = ReadFull(fd, buffer.data() + filled, buffer.size() - filled);
        if (got < 0) {
            SetFileError("read error", errno);
            return false;
        }
        eof = size_t(got) < buffer.size() - filled;
        filled += size_t(got);
        bytesRead += uint64_t(got);
    }
    const int eolStyle = style == EOL_AUTO ? DetectEolStyle(buffer.data(), filled) : style;
    const char* separator = SeparatorOf(eolStyle);
    const char a = separator[0];
    const char b = separator[1];  // 0 for the one-byte separator
    const size_t sepLength = b ? 2 : 1;

    LineStore store;
    LineCollector lines(store);
    // A first guess at the line count from the first block keeps the array
    // from being copied over and over while it grows.
    if (filled > 0) {
        size_t seps = 0;
        for (const char* p = buffer.data(); (p = static_cast<const char*>(
                                                  std::memchr(p, a, size_t(buffer.data() + filled - p))));
             ++p)
            ++seps;
        const double perByte = double(seps + 1) / double(filled);
        lines.m_lines.reserve(size_t(perByte * double(st.st_size) * 1.05) + 1024);
    }

    size_t lineStart = 0;  // start of the line being cut, in buffer
    size_t scan = 0;       // where to look for the separator next
    size_t reported = 0;   // lines handed to the listener
    for (;;) {
        if (!eof) {
            got = ReadFull(fd, buffer.data() + filled, buffer.size() - filled);
            if (got < 0) {
                SetFileError("read error", errno);
                if (listener)
                    listener->LoadFailed();
                return false;
            }
            eof = size_t(got) < buffer.size() - filled;
            filled += size_t(got);
            bytesRead += uint64_t(got);
        }
        char* data = buffer.data();
        const bool mayHoldNul = std::memchr(data + lineStart, 0, filled - lineStart) != nullptr;
        while (scan < filled) {
            const char* hit = static_cast<const char*>(std::memchr(data + scan, a, filled - scan));
            if (!hit) {
                scan = filled;
                break;
            }
            const size_t p = size_t(hit - data);
            if (sepLength == 1) {
                lines.Add(data + lineStart, p - lineStart, mayHoldNul);
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
                lines.Add(data + lineStart, p - lineStart, mayHoldNul);
                lineStart = scan = p + 2;
            } else {
                scan = p + 2;  // the byte that broke the match is not tested again
            }
        }
        if (eof)
            lines.Add(data + lineStart, filled - lineStart, mayHoldNul);
        if (listener && lines.m_lines.size() > reported) {
            listener->LinesLoaded(lines.m_lines.data() + reported, lines.m_lines.size() - reported);
            reported = lines.m_lines.size();
        }
        if (listener && !listener->ContinueLoading(bytesRead, uint64_t(st.st_size))) {
            SetFileError("the reading was stopped", 0);
            listener->LoadFailed();
            return false;
        }
        if (eof)
            break;
        // Keep the unfinished line and read on behind it.
        std::memmove(data, data + lineStart, filled - lineStart);
        filled -= lineStart;
        scan -= lineStart;
        lineStart = 0;
        if (filled == buffer.size())
            buffer.resize(buffer.size() * 2);
    }

    auto& loaded = lines.m_lines;
    if (loaded.capacity() > loaded.size() + loaded.size() / 8)
        loaded.shrink_to_fit();
    // The buffer is expected to be cleared; free whatever it still held.
    for (size_t i = 0; i < m_lines.size(); ++i)
        FreeLineText(m_lines[i]);
    m_lines.assign(std::move(loaded));
    m_flagLines.fill(kNoFlagLine);  // loaded lines carry no flags
    m_store = std::move(store);
    m_eolStyle = eolStyle;

    const bool readOnly = ::access(path, W_OK) != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    m_initialised = true;
    m_readOnly = readOnly;
    m_modified = false;
    m_inGroup = false;
    m_groupStartPending = false;
    m_undoLimit = 1024;
    // A new text starts a new history: the old steps belong to another text.
    m_undo.clear();
    m_undoPos = 0;
    m_savedPos = 0;
    NotifyViews(nullptr, nullptr, HINT_RESET, -1);
    return true;
}

bool CTextBuffer::SaveFile(const char* path, int style, bool clearModified)
{
    m_lastFileError.clear();
    // Write through a symbolic link to the file it names, so that saving keeps
    // the link instead of replacing it with a plain file.
    std::string target = path;
    if (char* resolved = ::realpath(path, nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) {
            SetFileError("is not a regular file", 0);
            return false;
        }
        if (::access(target.c_str(), W_OK) != 0 || (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            SetFileError("the file may not be written", EACCES);
            return false;
        }
    }

    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));

    // A unique "TXB" name in the target's folder.
    std::random_device seed;
    std::mt19937_64 random(uint64_t(seed()) << 32 ^ seed());
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "TXB%08llx.tmp", static_cast<unsigned long long>(random() & 0xffffffffu));
        temp = folder + "/" + name;
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        SetFileError("cannot create a temporary file in " + folder, errno);
        return false;
    }
    if (exists) {
        // The new file takes the old one's permission bits (and owner, where
        // we may set it).
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Not the owner: the file stays ours, which is what the system allows.
        }
        ::fchmod(fd, old.st_mode & 07777);
    }

    const int eolStyle = style == EOL_AUTO ? m_eolStyle : style;
    const char* separator = SeparatorOf(eolStyle);
    const size_t sepLength = std::strlen(separator);

    bool ok = true;
    int err = 0;
    const int count = LineCount();
    // Room for the whole text, up to one write block.
    size_t total = 0;
    for (int i = 0; i < count && total < kReadBlock; ++i)
        total += size_t(m_lines[size_t(i)].length) + sepLength;
    std::vector<char> out;
    out.reserve(std::min(total, kReadBlock) + 64);
    for (int i = 0; i < count && ok; ++i) {
        const TextLine& line = m_lines[size_t(i)];
        if (size_t(line.length) >= kReadBlock) {
            ok = WriteFull(fd, out.data(), out.size()) && WriteFull(fd, line.text, size_t(line.length));
            out.clear();
        } else {
            out.insert(out.end(), line.text, line.text + line.length);
        }
        if (i + 1 < count)
            out.insert(out.end(), separator, separator + sepLength);
        if (ok && out.size() >= kReadBlock) {
            ok = WriteFull(fd, out.data(), out.size());
            out.clear();
        }
    }
    if (ok)
        ok = WriteFull(fd, out.data(), out.size());
    if (ok && ::fsync(fd) != 0)
        ok = false;
    if (!ok)
        err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        SetFileError("write error", err);
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        SetFileError("cannot replace the file", err);
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }

    if (clearModified) {
        SetModified(false);
        m_savedPos = m_undoPos;
    }
    return true;
}
