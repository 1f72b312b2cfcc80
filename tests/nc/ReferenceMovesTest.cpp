// The records of real programs stay what they were before arcs were
// measured: tests/nc/reference holds the move lists that tornel-info printed
// then for the example programs and three generated ones, and every field
// of every record must come out the same, bit for bit.  Only the centre of
// an arc given by R may differ: it used to stay at the start.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "CTextBuffer.h"
#include "LoadAndInterpret.h"
#include "NcInterpreter.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFields = 14;
constexpr const char* kFieldNames[kFields] = {"line",    "startX",  "startY",  "startZ", "endX", "endY", "endZ",
                                              "centreX", "centreY", "centreZ", "kind",   "feed", "tool", "rapid"};

bool IsIntegerField(int field)
{
    return field == 0 || field == 10 || field == 12 || field == 13;
}

// One record of a reference move list: the text of each of its 14 numbers.
using ReferenceRecord = std::vector<std::string>;

// The arrays of "move_list" in tornel-info's JSON: [[n, n, ...], [...]].
std::vector<ReferenceRecord> ReadMoveList(const std::string& json)
{
    std::vector<ReferenceRecord> records;
    const std::string key = "\"move_list\": [";
    size_t at = json.find(key);
    if (at == std::string::npos)
        return records;
    at += key.size();
    while (at < json.size() && json[at] == '[') {
        const size_t close = json.find(']', at);
        if (close == std::string::npos)
            break;
        ReferenceRecord record;
        std::string_view numbers(json.data() + at + 1, close - at - 1);
        while (!numbers.empty()) {
            const size_t comma = numbers.find(", ");
            record.emplace_back(numbers.substr(0, comma));
            numbers.remove_prefix(comma == std::string_view::npos ? numbers.size() : comma + 2);
        }
        records.push_back(std::move(record));
        at = close + 1;
        if (json.compare(at, 2, ", ") == 0)
            at += 2;
    }
    return records;
}

// The record's field as the reference printed it: integers exactly, floats
// with nine digits (which read back to the same float), null for a value
// that is not finite.
bool SameField(const MoveRecord& record, int field, const std::string& text)
{
    uint32_t bits;
    std::memcpy(&bits, reinterpret_cast<const char*>(&record) + 4 * field, 4);
    if (IsIntegerField(field))
        return int32_t(bits) == std::strtol(text.c_str(), nullptr, 10);
    const float value = std::bit_cast<float>(bits);
    if (text == "null")
        return !std::isfinite(value);
    return bits == std::bit_cast<uint32_t>(std::strtof(text.c_str(), nullptr));
}

// The reference's centre was its start: the old interpreter placed no
// centre for R.
bool CentreWasStart(const ReferenceRecord& reference)
{
    return reference[7] == reference[1] && reference[8] == reference[2] && reference[9] == reference[3];
}

struct Comparison
{
    size_t records = 0;
    size_t radiusCentres = 0;  // centres of R arcs that moved off the start
};

Comparison CompareWithReference(const fs::path& program, const fs::path& reference)
{
    Comparison result;
    const std::vector<ReferenceRecord> expected = ReadMoveList(ReadBytes(reference.string()));
    CTextBuffer buffer;
    NcInterpreter nc;
    if (!LoadAndInterpret(program.c_str(), buffer, nc)) {
        ADD_FAILURE() << "cannot load " << program;
        return result;
    }
    EXPECT_EQ(nc.Moves().size(), expected.size()) << program;
    const size_t count = std::min(nc.Moves().size(), expected.size());
    for (size_t i = 0; i < count; ++i) {
        const MoveRecord& record = nc.Moves()[i];
        const ReferenceRecord& ref = expected[i];
        if (ref.size() != size_t(kFields)) {
            ADD_FAILURE() << reference << ": record " << i << " has " << ref.size() << " fields";
            continue;
        }
        const std::string_view line(buffer.LineChars(record.line), size_t(buffer.LineLength(record.line)));
        const bool radiusArc = record.kind == 1 && CentreWasStart(ref) && line.find('R') != std::string_view::npos;
        bool centreMoved = false;
        for (int field = 0; field < kFields; ++field) {
            if (SameField(record, field, ref[field]))
                continue;
            if (radiusArc && field >= 7 && field <= 9) {
                centreMoved = true;
                continue;
            }
            ADD_FAILURE() << program.filename() << " record " << i << " (line " << ref[0] << " \"" << line
                          << "\"): " << kFieldNames[field] << " is not " << ref[field];
        }
        result.radiusCentres += centreMoved;
    }
    result.records = count;
    return result;
}

TEST(ReferenceMoves, RecordsAndTheirLinesAreThoseOfThePreviousInterpreter)
{
    const fs::path references = TORNEL_REFERENCE_DIR;
    const fs::path examples = TORNEL_EXAMPLES_DIR;
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(references)) {
        if (entry.path().extension() != ".json")
            continue;
        // Example programs are compared where they are, so that a change to
        // one must come with its reference; generated ones live beside
        // their references.
        const fs::path name = entry.path().stem().string() + ".nc";
        const fs::path program = fs::exists(examples / name) ? examples / name : references / name;
        SCOPED_TRACE(program.string());
        const Comparison result = CompareWithReference(program, entry.path());
        EXPECT_GT(result.records, 10u);
        // The contour and the generated programs cut arcs given by R, so the
        // comparison has met the one difference it allows.
        if (name == "contour.nc" || name.string().starts_with("ncgen-")) {
            EXPECT_GT(result.radiusCentres, 0u);
        }
        ++compared;
    }
    // Every example has its reference, and the three generated programs.
    int examplePrograms = 0;
    for (const auto& entry : fs::directory_iterator(examples))
        examplePrograms += entry.path().extension() == ".nc";
    EXPECT_EQ(compared, examplePrograms + 3);
}

}  // namespace
