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

enum FileResult
{
    FILE_REPORTED,
    FILE_NOT_READ,   // or changed between the two readings of --moves
    OUTPUT_FAILED,
};

// Analyses one program and prints its report: the text (after a "==> path
// <==" line when withHeader), or one JSON object, with the move list when
// withMoves.
FileResult ReportFile(const char* path, bool json, bool withMoves, bool withHeader)
{
    LineReader reader(kInterpretBlock);
    NcInterpreter interpreter;
    IgnoredMoves ignored;
    interpreter.SendMovesTo(&ignored);
    if (!reader.Open(path) || !InterpretFile(reader, interpreter)) {
        ReportFileError(path, reader.Error());
        return FILE_NOT_READ;
    }
    if (!json) {
        std::string out;
        if (withHeader)
            out = std::string("==> ") + path + " <==\n";
        out += InfoText(interpreter);
        return WriteAll(out) ? FILE_REPORTED : OUTPUT_FAILED;
    }
    const int64_t lineCount = int64_t(reader.LinesRead());
    const int eolStyle = reader.EolStyle();
    const std::string head = InfoJsonHead(path, lineCount, eolStyle, interpreter);
    if (!withMoves)
        return WriteAll(head + "}\n") ? FILE_REPORTED : OUTPUT_FAILED;

    if (!WriteAll(head + ", \"move_list\": ["))
        return OUTPUT_FAILED;
    MoveListWriter writer(stdout);
    NcInterpreter again;
    again.SendMovesTo(&writer);
    const bool read = InterpretFile(reader, again);
    if (!writer.Flush())
        return OUTPUT_FAILED;
    if (!read) {
        // The object stays unfinished; its line ends so that the next file's
        // object starts a line of its own.
        ReportFileError(path, reader.Error());
        return WriteAll("\n") ? FILE_NOT_READ : OUTPUT_FAILED;
    }
    if (!WriteAll("]}\n"))
        return OUTPUT_FAILED;
    if (int64_t(reader.LinesRead()) != lineCount || reader.EolStyle() != eolStyle ||
        !SameFigures(interpreter, again)) {
        ReportFileError(path, "the file changed while it was read");
        return FILE_NOT_READ;
    }
    return FILE_REPORTED;
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
    for (const char* path : files) {
        const FileResult result = ReportFile(path, json, moves, files.size() > 1);
        if (result == OUTPUT_FAILED)
            break;
        if (result == FILE_NOT_READ)
            status = 1;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "tornel-info: cannot write the output\n");
        return 1;
    }
    return status;
}
