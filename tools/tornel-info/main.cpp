// tornel-info: reads NC programs, cutting their lines exactly as the editor
// does, interprets them, and prints the machining information (or JSON for
// scripts).
//
// A program is interpreted line by line as it is read, keeping neither its
// text nor its moves, so that memory stays a few blocks whatever the file's
// size.  The move list of --moves comes after the figures in the JSON, which
// are known only at the end: the file is read twice, once for the figures
// and once to write each move as it is made.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "InfoReport.h"
#include "InterpretFile.h"
#include "LineReader.h"
#include "MoveListWriter.h"
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

class IgnoredMoves final : public MoveSink
{
public:
    void MoveMade(const MoveRecord&, ArcDirection) override {}
};

// Whether two runs over the same file found the same: else the file changed
// between them.
bool SameFigures(const NcInterpreter& a, const NcInterpreter& b)
{
    const auto sameBits = [](double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    const NcWarnings& wa = a.Warnings();
    const NcWarnings& wb = b.Warnings();
    return sameBits(a.FeedDistance(), b.FeedDistance()) && sameBits(a.RapidDistance(), b.RapidDistance()) &&
           sameBits(a.MachiningTime(), b.MachiningTime()) && a.MoveCount() == b.MoveCount() &&
           a.ToolNumbers() == b.ToolNumbers() && wa.lines == wb.lines && wa.firstLine == wb.firstLine &&
           wa.kinds == wb.kinds;
}

void ReportFileError(const char* path, const std::string& error)
{
    std::fprintf(stderr, "tornel-info: %s: %s\n", path, error.c_str());
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
    const auto outputFailed = [] {
        std::fprintf(stderr, "tornel-info: cannot write the output\n");
        return 1;
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const char* path = files[i];
        LineReader reader(kInterpretBlock);
        NcInterpreter interpreter;
        IgnoredMoves ignored;
        interpreter.SendMovesTo(&ignored);
        if (!reader.Open(path) || !InterpretFile(reader, interpreter)) {
            ReportFileError(path, reader.Error());
            status = 1;
            continue;
        }
        if (!json) {
            std::string out;
            if (files.size() > 1)
                out = std::string("==> ") + path + " <==\n";
            out += InfoText(interpreter);
            if (!WriteAll(out))
                return outputFailed();
            continue;
        }
        const int64_t lineCount = int64_t(reader.LinesRead());
        const int eolStyle = reader.EolStyle();
        std::string out = InfoJsonHead(path, lineCount, eolStyle, interpreter);
        if (!moves) {
            if (!WriteAll(out + "}\n"))
                return outputFailed();
            continue;
        }
        if (!WriteAll(out + ", \"move_list\": ["))
            return outputFailed();
        MoveListWriter writer(stdout);
        NcInterpreter again;
        again.SendMovesTo(&writer);
        const bool read = InterpretFile(reader, again);
        if (!writer.Flush())
            return outputFailed();
        if (!read) {
            // The object stays unfinished; its line ends so that the next
            // file's object starts a line of its own.
            ReportFileError(path, reader.Error());
            status = 1;
            if (!WriteAll("\n"))
                return outputFailed();
            continue;
        }
        if (!WriteAll("]}\n"))
            return outputFailed();
        if (int64_t(reader.LinesRead()) != lineCount || reader.EolStyle() != eolStyle ||
            !SameFigures(interpreter, again)) {
            ReportFileError(path, "the file changed while it was read");
            status = 1;
        }
    }
    if (std::fflush(stdout) != 0)
        return outputFailed();
    return status;
}
