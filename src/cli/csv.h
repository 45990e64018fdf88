#pragma once

// Comma-separated records, read one at a time so that a file of any length streams.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Records cut from the input as they come, each left as the bytes it holds, so that splitting
// them into fields (splitFields) can be left to other threads. Fields may be quoted
// ("a ""b"", c"), quoted fields may hold line breaks; a record ends at CR, LF or CR LF. A UTF-8
// byte-order mark at the start of the input is skipped. Every byte of a record counts towards
// MaxRecord, its commas, quotes and quoted line breaks too: a longer record is read to its end
// but comes back with tooLong set and no bytes, and none of it is kept.
class CsvSplitter
{
public:
    // Each read asks for up to `blockSize` bytes and takes what the input has: a record typed
    // at a terminal is returned as soon as its line ends.
    explicit CsvSplitter(std::FILE *file, std::size_t blockSize = 64 * 1024);

    // The next record without its line end, valid until the next call; false at the end of the
    // input, or when it could not be read (error()).
    bool next(std::string_view &record, bool &tooLong);

    // The line on which the last record began, 1 for the first. CR, LF and CR LF each end a
    // line, inside quotes too.
    long line() const { return m_recordLine; }

    // The errno of a read that failed; 0 when none did.
    int error() const { return m_error; }

    static constexpr std::size_t MaxRecord = 64 * 1024;

private:
    // Reads more after what the buffer holds, first dropping the bytes before m_start; false at
    // the end of the input.
    bool readMore();

    std::FILE *m_file;
    int m_fd;
    std::size_t m_blockSize;
    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity = 0;
    std::size_t m_size = 0;    // bytes read into m_data
    std::size_t m_start = 0;   // the record's first byte kept
    std::size_t m_scan = 0;    // the next byte to look at
    std::size_t m_dropped = 0; // bytes of a too long record no longer kept
    char m_lastDropped = 0;
    bool m_atStart = true;
    bool m_atEnd = false;
    int m_error = 0;
    long m_line = 1;
    long m_recordLine = 0;
};

// The fields of a record that CsvSplitter returned: at most `keep` of them into `fields`
// (strings already there are reused), the quotes of quoted fields taken off and "" read as one
// quote. Returns how many fields the record has, kept or not.
std::size_t splitFields(std::string_view record, std::vector<std::string> &fields,
                        std::size_t keep = std::size_t(-1));

// Records read one at a time, split into their fields, so that a file of any length streams.
class CsvReader
{
public:
    explicit CsvReader(std::FILE *file) : m_splitter(file) {}

    // The next record's fields; false at the end of the input. A record beyond MaxRecord comes
    // back with tooLong set and no fields.
    bool next(std::vector<std::string> &fields, bool &tooLong);

    // From now on at most `count` fields of a record are kept, the rest counted only: a row of
    // more fields than a reader takes would otherwise take a text for each of its commas.
    void keepFields(std::size_t count) { m_keptFields = count; }
    // How many fields the last record had, kept or not; 0 when it was too long.
    std::size_t fieldCount() const { return m_fieldCount; }

    long line() const { return m_splitter.line(); }
    int error() const { return m_splitter.error(); }
    // The records not read yet.
    CsvSplitter &splitter() { return m_splitter; }

    static constexpr std::size_t MaxRecord = CsvSplitter::MaxRecord;

private:
    CsvSplitter m_splitter;
    std::size_t m_keptFields = std::size_t(-1);
    std::size_t m_fieldCount = 0;
};

// The field as it stands, or quoted when it holds a comma, a quote or a line break; valid
// UTF-8, with NUL, which CSV readers refuse, written as U+FFFD.
std::string csvField(std::string_view text);

} // namespace cli
