// Loads any bytes as a program file and saves them back.  Nothing may crash;
// the style is the one the first LF shows; and a file without NUL bytes (a
// NUL ends its line's text) comes back byte for byte, whatever mix of line
// ends it holds, since lines are cut only at separators and saving puts the
// same separator back.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "CTextBuffer.h"
#include "FuzzScratch.h"

namespace {

int ExpectedStyle(const uint8_t* data, size_t size)
{
    const auto* lf = static_cast<const uint8_t*>(std::memchr(data, '\n', size));
    if (!lf)
        return EOL_DOS;
    if (lf > data && lf[-1] == '\r')
        return EOL_DOS;
    if (lf + 1 < data + size && lf[1] == '\r')
        return EOL_UNIX;
    return EOL_MAC;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = Scratch().Write("in.nc", data, size);
    const std::string saved = Scratch().Path("out.nc");
    CTextBuffer buffer;
    if (!buffer.LoadFile(path.c_str(), EOL_AUTO))
        std::abort();
    if (buffer.EolStyle() != ExpectedStyle(data, size))
        std::abort();
    if (buffer.LineCount() < 1)
        std::abort();
    if (!buffer.SaveFile(saved.c_str(), EOL_AUTO, true))
        std::abort();
    if (!std::memchr(data, 0, size)) {
        const std::string back = FuzzScratch::Read(saved);
        if (back.size() != size || (size && std::memcmp(back.data(), data, size) != 0))
            std::abort();
    }
    return 0;
}
