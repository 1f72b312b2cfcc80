// ncgen: the command line around GenerateNc.
//
// Exit status: 0 when the program was written (or for --help), 1 when the
// output could not be opened or written, 2 on a usage error.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "NcGen.h"

namespace {

const char USAGE[] =
    "usage: ncgen [--lines N | --size BYTES] [--eol dos|unix|mac] [--seed N] [-o FILE]\n"
    "\n"
    "Writes a realistic milling program, the same for the same options.\n"
    "\n"
    "  --lines N      exactly N lines (default 1000)\n"
    "  --size BYTES   stop at the first line end at or past BYTES; a suffix\n"
    "                 K, M or G multiplies by 1024, 1024^2 or 1024^3\n"
    "  --eol STYLE    line ends: dos (CR LF, default), unix (LF CR) or mac (LF)\n"
    "  --seed N       random seed (default 1)\n"
    "  -o FILE        write to FILE instead of standard output\n"
    "  --help         print this help\n";

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "ncgen: %s\n(ncgen --help for usage)\n", message.c_str());
    return 2;
}

// A decimal number, optionally followed by one of the suffixes K, M, G.
bool ParseNumber(std::string_view text, bool allowSuffix, uint64_t& value)
{
    uint64_t scale = 1;
    if (allowSuffix && !text.empty()) {
        switch (text.back()) {
        case 'K': case 'k': scale = 1ull << 10; break;
        case 'M': case 'm': scale = 1ull << 20; break;
        case 'G': case 'g': scale = 1ull << 30; break;
        default: break;
        }
        if (scale != 1)
            text.remove_suffix(1);
    }
    if (text.empty())
        return false;
    uint64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || n > (UINT64_MAX - uint64_t(c - '0')) / 10)
            return false;
        n = n * 10 + uint64_t(c - '0');
    }
    if (n > UINT64_MAX / scale)
        return false;
    value = n * scale;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    NcGenOptions options;
    bool haveLines = false, haveSize = false;
    const char* path = nullptr;

    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::string_view value;
        bool inlineValue = false;
        if (arg.starts_with("--") && arg.find('=') != std::string_view::npos) {  // --seed=7
            value = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
            inlineValue = true;
        }
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (arg != "--lines" && arg != "--size" && arg != "--eol" && arg != "--seed" && arg != "-o")
            return UsageError("unknown argument '" + std::string(argv[i]) + "'");
        if (!inlineValue) {
            if (i + 1 >= argc)
                return UsageError(std::string(arg) + " needs a value");
            value = argv[++i];
        }

        if (arg == "--lines" || arg == "--size") {
            const bool lines = arg == "--lines";
            uint64_t n = 0;
            if (!ParseNumber(value, !lines, n) || n == 0)
                return UsageError(std::string(arg) + " wants a positive number, not '" + std::string(value) + "'");
            (lines ? options.lines : options.bytes) = n;
            (lines ? haveLines : haveSize) = true;
        } else if (arg == "--eol") {
            if (value == "dos")
                options.eol = NCGEN_EOL_DOS;
            else if (value == "unix")
                options.eol = NCGEN_EOL_UNIX;
            else if (value == "mac")
                options.eol = NCGEN_EOL_MAC;
            else
                return UsageError("--eol wants dos, unix or mac, not '" + std::string(value) + "'");
        } else if (arg == "--seed") {
            if (!ParseNumber(value, false, options.seed))
                return UsageError("--seed wants a number, not '" + std::string(value) + "'");
        } else {
            path = argv[i];
        }
    }
    if (haveLines && haveSize)
        return UsageError("give --lines or --size, not both");
    if (!haveLines && !haveSize)
        options.lines = 1000;

    std::FILE* out = stdout;
    if (path) {
        out = std::fopen(path, "wb");
        if (!out) {
            std::fprintf(stderr, "ncgen: cannot create %s: %s\n", path, std::strerror(errno));
            return 1;
        }
    }
    errno = 0;
    bool ok = GenerateNc(options, out);
    const int writeError = errno;
    if (path && std::fclose(out) != 0)
        ok = false;
    if (!ok) {
        std::fprintf(stderr, "ncgen: cannot write %s: %s\n", path ? path : "standard output",
                     std::strerror(writeError ? writeError : errno));
        return 1;
    }
    return 0;
}
