// A stand-in for the text buffer: the three line accessors the interpreter's
// Run reads, over a vector of strings.
#pragma once

#include <string>
#include <vector>

class FakeLines
{
public:
    FakeLines(std::initializer_list<std::string> lines) : m_lines(lines) {}
    explicit FakeLines(std::vector<std::string> lines) : m_lines(std::move(lines)) {}

    int LineCount() const { return static_cast<int>(m_lines.size()); }
    const char* LineChars(int line) const { return m_lines[line].data(); }
    int LineLength(int line) const { return static_cast<int>(m_lines[line].size()); }

private:
    std::vector<std::string> m_lines;
};
