#include "cli/csv.h"

#include "cli/text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace cli {

namespace {

// The bytes at which splitting has something to decide: a quote, a line end.
constexpr auto Special = [] {
    std::array<bool, 256> special{};
    special['"'] = special['\r'] = special['\n'] = true;
    return special;
}();

} // namespace

CsvSplitter::CsvSplitter(std::FILE *file, std::size_t blockSize)
    : m_file(file), m_fd(::fileno(file)), m_blockSize(std::max<std::size_t>(blockSize, 1))
{
}

bool CsvSplitter::readMore()
{
    if (m_atEnd)
        return false;
    if (m_start > 0) {
        std::memmove(m_data.get(), m_data.get() + m_start, m_size - m_start);
        m_size -= m_start;
        m_scan -= m_start;
        m_start = 0;
    }
    if (m_capacity - m_size < m_blockSize) {
        const std::size_t capacity = std::max(2 * m_capacity, m_size + m_blockSize);
        std::unique_ptr<char[]> data(new char[capacity]); // not cleared: only read bytes count
        if (m_size > 0)
            std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }
    ssize_t n = 0;
    if (m_fd >= 0) {
        // What the input has now, so that a terminal's line is not held back.
        do
            n = ::read(m_fd, m_data.get() + m_size, m_blockSize);
        while (n < 0 && errno == EINTR);
    } else {
        n = ssize_t(std::fread(m_data.get() + m_size, 1, m_blockSize, m_file));
        if (n == 0 && std::ferror(m_file))
            n = -1;
    }
    if (n <= 0) {
        if (n < 0)
            m_error = errno;
        m_atEnd = true;
        return false;
    }
    m_size += std::size_t(n);
    return true;
}

bool CsvSplitter::next(std::string_view &record, bool &tooLong)
{
    tooLong = false;
    record = {};
    m_start = m_scan; // the last record is given up
    if (m_atStart) {
        m_atStart = false;
        while (m_size < 3 && readMore()) {
        }
        if (m_size >= 3 && std::memcmp(m_data.get(), "\xEF\xBB\xBF", 3) == 0)
            m_start = m_scan = 3;
    }
    if (m_scan == m_size && !readMore())
        return false;
    m_recordLine = m_line;
    m_dropped = 0;
    bool quoted = false;
    std::size_t length = 0; // of the record, from m_start, once its end is found
    for (;;) {
        while (m_scan < m_size && !Special[static_cast<unsigned char>(m_data[m_scan])])
            ++m_scan;
        if (m_scan == m_size) {
            if (m_dropped + (m_scan - m_start) > MaxRecord) {
                // Nothing more of it is kept; only its quotes and line ends still count.
                m_dropped += m_scan - m_start;
                if (m_scan > m_start)
                    m_lastDropped = m_data[m_scan - 1];
                m_start = m_scan;
            }
            if (!readMore()) {
                length = m_scan - m_start;
                break;
            }
            continue;
        }
        const char c = m_data[m_scan];
        if (c == '"') {
            if (quoted) {
                ++m_scan;
                if (m_scan == m_size)
                    readMore();
                if (m_scan < m_size && m_data[m_scan] == '"')
                    ++m_scan; // "" is one quote
                else
                    quoted = false;
            } else {
                // A quote opens a field that has no byte yet, else it is one of its bytes.
                const char before = m_scan > m_start ? m_data[m_scan - 1]
                                    : m_dropped > 0  ? m_lastDropped
                                                     : ',';
                quoted = before == ',';
                ++m_scan;
            }
            continue;
        }
        ++m_line;
        const std::size_t end = m_scan - m_start;
        ++m_scan;
        if (c == '\r') {
            if (m_scan == m_size)
                readMore();
            if (m_scan < m_size && m_data[m_scan] == '\n')
                ++m_scan;
        }
        if (!quoted) {
            length = end;
            break;
        }
    }
    if (m_dropped + length > MaxRecord)
        tooLong = true;
    else
        record = std::string_view(m_data.get() + m_start, length);
    return true;
}

std::size_t splitFields(std::string_view record, std::vector<std::string> &fields, std::size_t keep)
{
    std::size_t count = 0;
    std::size_t kept = 0;
    std::size_t at = 0;
    for (;;) {
        std::string *field = nullptr;
        if (kept < keep) {
            if (fields.size() == kept)
                fields.emplace_back();
            field = &fields[kept++];
            field->clear();
        }
        ++count;
        if (at < record.size() && record[at] == '"') {
            // Quoted: up to the quote that closes it, then on as a plain field.
            bool quoted = true;
            ++at;
            for (; at < record.size(); ++at) {
                const char c = record[at];
                if (quoted && c == '"') {
                    if (at + 1 < record.size() && record[at + 1] == '"') {
                        ++at;
                        if (field)
                            *field += '"';
                    } else {
                        quoted = false;
                    }
                } else if (c == ',' && !quoted) {
                    break;
                } else if (field) {
                    *field += c;
                }
            }
        } else {
            const std::size_t comma = std::min(record.find(',', at), record.size());
            if (field)
                field->assign(record.substr(at, comma - at));
            at = comma;
        }
        if (at >= record.size())
            break;
        ++at; // the comma
    }
    fields.resize(kept);
    return count;
}

bool CsvReader::next(std::vector<std::string> &fields, bool &tooLong)
{
    std::string_view record;
    if (!m_splitter.next(record, tooLong))
        return false;
    if (tooLong) {
        fields.clear();
        m_fieldCount = 0;
        return true;
    }
    m_fieldCount = splitFields(record, fields, m_keptFields);
    return true;
}

std::string csvField(std::string_view text)
{
    std::string valid = validUtf8(text);
    bool nul = false;
    bool quote = false;
    for (const char c : valid) {
        nul |= c == '\0';
        quote |= c == ',' || c == '"' || c == '\r' || c == '\n';
    }
    if (!nul && !quote)
        return valid;
    std::string field;
    field.reserve(valid.size() + 8);
    if (quote)
        field += '"';
    for (const char c : valid) {
        if (c == '\0')
            field += "\xEF\xBF\xBD";
        else if (c == '"')
            field += "\"\"";
        else
            field += c;
    }
    if (quote)
        field += '"';
    return field;
}

} // namespace cli
