// A scratch folder for fuzzers that go through real files: one per process,
// on /dev/shm when there is one (saving flushes to disk, which on a memory
// file system costs nothing), removed when the process ends normally.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

class FuzzScratch
{
public:
    FuzzScratch()
    {
        const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
        std::string pattern = std::string(base) + "/tornel-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_folder = pattern;
    }
    ~FuzzScratch() { std::system(("rm -rf '" + m_folder + "'").c_str()); }

    const std::string& Folder() const { return m_folder; }
    std::string Path(std::string_view name) const { return m_folder + "/" + std::string(name); }

    // Writes bytes to name, replacing it; aborts when it cannot (a fuzzer
    // that cannot write its input has nothing to test).
    std::string Write(std::string_view name, const uint8_t* data, size_t size) const
    {
        const std::string path = Path(name);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || (size && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0)
            std::abort();
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::string bytes;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file)
            std::abort();
        char chunk[65536];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.append(chunk, n);
        std::fclose(file);
        return bytes;
    }

private:
    std::string m_folder;
};

// One per process, made at first use.
inline const FuzzScratch& Scratch()
{
    static const FuzzScratch scratch;
    return scratch;
}
