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
    // quoted fields may hold line breaks; a record ends at CR, LF or CR LF. A UTF-8 byte-order
    // mark at the start of the input is skipped. Every byte of a record counts towards
    // MaxRecord, its commas, quotes and quoted line breaks too: a longer record is read to its
    // end but comes back with tooLong set and no fields, and nothing more of it is kept.
    bool next(std::vector<std::string> &fields, bool &tooLong);

    // From now on at most `count` fields of a record are kept, the rest counted only: a row of
    // more fields than a reader takes would otherwise take a text for each of its commas.
    void keepFields(std::size_t count) { m_keptFields = count; }
    // How many fields the last record had, kept or not; 0 when it was too long.
    std::size_t fieldCount() const { return m_fieldCount; }

    // The line on which the last record began, 1 for the first. CR, LF and CR LF each end a
    // line, inside quotes too.
    long line() const { return m_recordLine; }

    static constexpr std::size_t MaxRecord = 64 * 1024;

private:
    int get();
    void unget(int c);
    // Whether the next byte is the one expected; it is consumed only then.
    bool following(int expected);

    std::FILE *m_file;
    int m_back[3] = {};
    int m_backCount = 0;
    bool m_atStart = true;
    long m_line = 1;
    long m_recordLine = 0;
    std::size_t m_keptFields = std::size_t(-1);
    std::size_t m_fieldCount = 0;
};

// The field as it stands, or quoted when it holds a comma, a quote or a line break; valid
// UTF-8, with NUL, which CSV readers refuse, written as U+FFFD.
std::string csvField(std::string_view text);

} // namespace cli
