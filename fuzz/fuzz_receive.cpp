// The receive path: bytes arriving in chunks of the fuzzer's choosing.
// Every byte is kept in order, the line count is the number of LF bytes,
// and the line the dialog shows is the last complete one, its LF included.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ReceivedProgram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    ReceivedProgram received;
    std::string expected;
    int lines = 0;
    while (input.remaining_bytes() > 0) {
        if (input.ConsumeIntegralInRange<int>(0, 31) == 0) {
            // Start pressed again.
            received.Clear();
            expected.clear();
            lines = 0;
        }
        const std::string chunk = input.ConsumeRandomLengthString(256);
        received.Append(QByteArrayView(chunk.data(), qsizetype(chunk.size())));
        // Only the new bytes are compared here (the whole text at the end),
        // so that a long input costs linear time.
        const size_t before = expected.size();
        expected += chunk;
        lines += int(std::count(chunk.begin(), chunk.end(), '\n'));

        const QByteArray& bytes = received.Bytes();
        if (size_t(bytes.size()) != expected.size() ||
            std::memcmp(bytes.constData() + before, chunk.data(), chunk.size()) != 0)
            std::abort();
        if (received.LineCount() != lines || received.IsEmpty() != expected.empty())
            std::abort();
        const QByteArrayView last = received.LastLine();
        if (lines == 0) {
            if (!last.isEmpty())
                std::abort();
            continue;
        }
        // The complete line before the unfinished one.
        const size_t end = expected.rfind('\n') + 1;
        const size_t previous = end < 2 ? std::string::npos : expected.rfind('\n', end - 2);
        const size_t start = previous == std::string::npos ? 0 : previous + 1;
        if (last.data() != bytes.constData() + start || size_t(last.size()) != end - start)
            std::abort();
    }
    if (std::string(received.Bytes().constData(), size_t(received.Bytes().size())) != expected)
        std::abort();
    return 0;
}
