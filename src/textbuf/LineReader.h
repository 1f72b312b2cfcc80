// Reads a file block by block and cuts it into lines: the one place that
// knows how a program file becomes lines.  The text buffer keeps the lines it
// is handed; tornel-info interprets each one and forgets it, so that it reads
// a file of any length in one block of memory.
//
// The line-ending style is detected at the file's first LF: LF CR is the
// Unix style, CR LF or no LF at all the DOS style, a LF alone the Mac style.
// Each line is handed over up to its first NUL byte.  CR and LF bytes that
// are not part of a separator stay in the line, and the bytes after the last
// separator are the last line, even when there are none (so a file ending
// with a separator, and an empty file, end with an empty line).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The bytes that end a line on disk in a style: CR LF, LF CR or LF (CR LF
// for anything but EOL_UNIX and EOL_MAC).
const char* EolSeparator(int style);

class LineReader
{
public:
    // Receives the lines of a reading, in order.
    class Sink
    {
    public:
        // One line, without its separator and cut at its first NUL; the
        // bytes are valid only during the call.
        virtual void LineRead(const char* text, size_t length) = 0;
        // After the lines of every block read: how far the reading is.
        // Returning false stops it, and Read fails.
        virtual bool BlockRead(uint64_t bytesRead, uint64_t fileSize)
        {
            (void)bytesRead;
            (void)fileSize;
            return true;
        }

    protected:
        ~Sink() = default;
    };

    // Reads blocks of blockSize bytes (at least kDetectBlock).
    explicit LineReader(size_t blockSize = kReadBlock);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Opens a regular file for reading.  False, with Error() saying why,
    // for a folder, a device, a file that is missing or may not be read.
    bool Open(const char* path);

    // Reads the whole file from its start, handing each line to sink; style
    // is EOL_AUTO to detect it, or the style to split by.  Can be called
    // again to read the file once more.  False, with Error() saying why, on
    // a read error or when the sink stopped the reading; the lines handed
    // over until then were handed over.
    bool Read(int style, Sink& sink);

    // The style the last Read split by.
    int EolStyle() const { return m_eolStyle; }
    // Lines the last Read handed over.
    uint64_t LinesRead() const { return m_linesRead; }
    uint64_t FileSize() const { return m_fileSize; }
    // Whether the open file may be written by us (checked when asked).
    bool IsWritable() const;
    const std::string& Error() const { return m_error; }

    // Bytes of the read buffer: one block, more only when a line longer than
    // a block had to be held whole.
    size_t BytesHeld() const { return m_buffer.capacity(); }

    // The first block the style is detected from, and the block size the
    // text buffer loads a file in.
    static constexpr size_t kDetectBlock = 32768;
    static constexpr size_t kReadBlock = size_t(4) << 20;

private:
    void SetError(const char* what, int err);

    size_t m_blockSize;
    int m_fd = -1;
    std::string m_path;
    uint64_t m_fileSize = 0;
    uint32_t m_mode = 0;
    int m_eolStyle = 0;
    uint64_t m_linesRead = 0;
    std::vector<char> m_buffer;
    std::string m_error;
};
