// The receive path: bytes arriving in chunks of the fuzzer's choosing.
// Every byte is kept in order, the line count is the number of LF bytes,
// and the line the dialog shows is the last complete one, its LF included.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ReceivedProgram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    ReceivedProgram received;
    std::string expected;
    while (input.remaining_bytes() > 0) {
        if (input.ConsumeIntegralInRange<int>(0, 31) == 0) {
            // Start pressed again.
            received.Clear();
            expected.clear();
        }
        const std::string chunk = input.ConsumeRandomLengthString(256);
        received.Append(QByteArrayView(chunk.data(), qsizetype(chunk.size())));
        expected += chunk;

        const QByteArray& bytes = received.Bytes();
        if (size_t(bytes.size()) != expected.size() || std::string(bytes.constData(), size_t(bytes.size())) != expected)
            std::abort();
        const int lines = int(std::count(expected.begin(), expected.end(), '\n'));
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
        const size_t previous = expected.rfind('\n', end - 2);
        const size_t start = previous == std::string::npos || end < 2 ? 0 : previous + 1;
        if (last.data() < bytes.constData() || last.data() + last.size() > bytes.constData() + bytes.size() ||
            std::string(last.data(), size_t(last.size())) != expected.substr(start, end - start))
            std::abort();
    }
    return 0;
}
