// Loading a file into lines and writing lines back to a file.
//
// LineReader cuts the file into lines; loading copies each line into a slot
// carved from a LineStore block, so that a program of millions of lines costs
// a few large allocations, and hands each block's lines to the load listener.
//
// Saving writes a temporary file next to the target, flushes it to disk and
// renames it over the target, so that at every moment either the old or the
// new file is complete under the target's name.
#include "CTextBuffer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "LineReader.h"

namespace {

// Saving gathers this much before each write.
constexpr size_t kWriteBlock = size_t(4) << 20;

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

// Collects the lines of a load; the buffer takes them over only when the
// whole file was read.
class LineCollector final : public LineReader::Sink
{
public:
    LineCollector(LineStore& store, CTextBuffer::LoadListener* listener) : m_store(store), m_listener(listener) {}

    void LineRead(const char* bytes, size_t length) override
    {
        CTextBuffer::TextLine line;
        line.length = int32_t(length);
        line.capacity = LineCapacityFor(line.length);
        line.text = m_store.Allocate(size_t(line.capacity));
        std::memcpy(line.text, bytes, length);
        m_lines.push_back(line);
    }

    bool BlockRead(uint64_t bytesRead, uint64_t fileSize) override
    {
        // A guess at the line count from the first block keeps the array
        // from being copied over and over while it grows.
        if (!m_guessed && bytesRead < fileSize) {
            m_guessed = true;
            const double perByte = double(m_lines.size()) / double(bytesRead);
            m_lines.reserve(size_t(perByte * double(fileSize) * 1.05) + 1024);
        }
        if (!m_listener)
            return true;
        if (m_lines.size() > m_reported) {
            m_listener->LinesLoaded(m_lines.data() + m_reported, m_lines.size() - m_reported);
            m_reported = m_lines.size();
        }
        return m_listener->ContinueLoading(bytesRead, fileSize);
    }

    SplitVector<CTextBuffer::TextLine>::Body m_lines;

private:
    LineStore& m_store;
    CTextBuffer::LoadListener* m_listener;
    size_t m_reported = 0;  // lines handed to the listener
    bool m_guessed = false;
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
    LineReader reader;
    if (!reader.Open(path)) {
        m_lastFileError = reader.Error();
        return false;
    }
    LineStore store;
    LineCollector lines(store, listener);
    if (!reader.Read(style, lines)) {
        m_lastFileError = reader.Error();
        if (listener)
            listener->LoadFailed();
        return false;
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
    m_eolStyle = reader.EolStyle();

    m_initialised = true;
    m_readOnly = !reader.IsWritable();
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
    const char* separator = EolSeparator(eolStyle);
    const size_t sepLength = std::strlen(separator);

    bool ok = true;
    int err = 0;
    std::vector<char> out;
    out.reserve(kWriteBlock + 64);
    const int count = LineCount();
    for (int i = 0; i < count && ok; ++i) {
        const TextLine& line = m_lines[size_t(i)];
        if (size_t(line.length) >= kWriteBlock) {
            ok = WriteFull(fd, out.data(), out.size()) && WriteFull(fd, line.text, size_t(line.length));
            out.clear();
        } else {
            out.insert(out.end(), line.text, line.text + line.length);
        }
        if (i + 1 < count)
            out.insert(out.end(), separator, separator + sepLength);
        if (ok && out.size() >= kWriteBlock) {
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
