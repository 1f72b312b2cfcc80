// Throughput of the core on a generated milling program: loading it into a
// text buffer, interpreting it, and saving it.  The program is written once
// to a temporary file; every benchmark reports bytes per second of that file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "CTextBuffer.h"
#include "NcGen.h"
#include "NcInterpreter.h"

namespace {

struct Program
{
    std::string path;
    size_t bytes = 0;

    Program()
    {
        uint64_t lines = 200000;
        if (const char* env = std::getenv("TORNEL_BENCH_LINES"))
            lines = std::strtoull(env, nullptr, 10);
        if (const char* env = std::getenv("TORNEL_BENCH_FILE")) {
            path = env;  // an existing program, left in place
        } else {
            path = (std::filesystem::temp_directory_path() / ("tornel-bench-" + std::to_string(::getpid()) + ".nc"))
                       .string();
            NcGenOptions options;
            options.lines = lines;
            FILE* out = std::fopen(path.c_str(), "wb");
            if (!out || !GenerateNc(options, out) || std::fclose(out) != 0) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                std::exit(1);
            }
            owned = true;
        }
        bytes = std::filesystem::file_size(path);
    }
    ~Program()
    {
        if (owned)
            std::remove(path.c_str());
    }
    bool owned = false;
};

Program& TheProgram()
{
    static Program program;
    return program;
}

void BM_Load(benchmark::State& state)
{
    Program& program = TheProgram();
    size_t memory = 0;
    for (auto _ : state) {
        CTextBuffer buffer;
        if (!buffer.LoadFile(program.path.c_str(), EOL_AUTO))
            state.SkipWithError("load failed");
        memory = buffer.MemoryUsed();
        benchmark::DoNotOptimize(buffer.LineCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(program.bytes));
    state.counters["memory/file"] = double(memory) / double(program.bytes);
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_Interpret(benchmark::State& state)
{
    Program& program = TheProgram();
    CTextBuffer buffer;
    buffer.LoadFile(program.path.c_str(), EOL_AUTO);
    NcInterpreter interpreter;
    for (auto _ : state) {
        interpreter.Run(buffer);
        benchmark::DoNotOptimize(interpreter.MachiningTime());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(program.bytes));
    state.counters["moves"] = double(interpreter.Moves().size());
}
BENCHMARK(BM_Interpret)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state)
{
    Program& program = TheProgram();
    CTextBuffer buffer;
    buffer.LoadFile(program.path.c_str(), EOL_AUTO);
    const std::string out = program.path + ".saved";
    for (auto _ : state) {
        if (!buffer.SaveFile(out.c_str(), EOL_AUTO, true))
            state.SkipWithError("save failed");
    }
    std::remove(out.c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(program.bytes));
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
