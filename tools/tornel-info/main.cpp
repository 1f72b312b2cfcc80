// tornel-info: loads NC programs exactly as the editor opens them, interprets
// them, and prints the machining information (or JSON for scripts).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CTextBuffer.h"
#include "LoadAndInterpret.h"
#include "InfoReport.h"
#include "NcInterpreter.h"

namespace {

const char kUsage[] =
    "usage: tornel-info [--json] [--moves] FILE...\n"
    "  Loads and interprets each NC program and prints its machining time,\n"
    "  rapid distance and feed distance.\n"
    "  --json   one JSON object per file and line\n"
    "  --moves  with --json: also the list of moves\n";

int UsageError(const char* message)
{
    std::fprintf(stderr, "tornel-info: %s\n%s", message, kUsage);
    return 2;
}

bool WriteAll(const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

}  // namespace

int main(int argc, char** argv)
{
    bool json = false;
    bool moves = false;
    std::vector<const char*> files;
    bool optionsDone = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!optionsDone && arg[0] == '-' && arg[1] != '\0') {
            if (std::strcmp(arg, "--json") == 0)
                json = true;
            else if (std::strcmp(arg, "--moves") == 0)
                moves = true;
            else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
                std::fputs(kUsage, stdout);
                return 0;
            } else if (std::strcmp(arg, "--") == 0)
                optionsDone = true;
            else
                return UsageError((std::string("unknown option ") + arg).c_str());
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty())
        return UsageError("no file given");
    if (moves && !json)
        return UsageError("--moves needs --json");

    int status = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const char* path = files[i];
        CTextBuffer buffer;
        NcInterpreter interpreter;
        if (!LoadAndInterpret(path, buffer, interpreter)) {
            std::fprintf(stderr, "tornel-info: %s: %s\n", path, buffer.LastFileError().c_str());
            status = 1;
            continue;
        }
        std::string out;
        if (json) {
            out = InfoJson(path, buffer, interpreter, moves);
            out += '\n';
        } else {
            if (files.size() > 1)
                out = std::string("==> ") + path + " <==\n";
            out += InfoText(interpreter);
        }
        if (!WriteAll(out)) {
            std::fprintf(stderr, "tornel-info: cannot write the output\n");
            return 1;
        }
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tornel-info: cannot write the output\n");
        return 1;
    }
    return status;
}
