#pragma once

// Comma-separated records, read one at a time so that a file of any length streams.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class CsvReader
{
public:
    explicit CsvReader(std::FILE *file) : m_file(file) {}

    // The next record; false at the end of the input. Fields may be quoted ("a ""b"", c"),
    // quoted fields may hold line breaks; a record ends at CR, LF or CR LF. A record longer than
    // MaxRecord bytes is read to its end but comes back with tooLong set and no fields.
    bool next(std::vector<std::string> &fields, bool &tooLong);

    static constexpr std::size_t MaxRecord = 64 * 1024;

private:
    int get();
    void unget(int c);

    std::FILE *m_file;
    int m_pushedBack = -2;
};

// The field as it stands, or quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);

} // namespace cli
