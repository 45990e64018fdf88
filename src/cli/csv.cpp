#include "cli/csv.h"

#include "cli/text.h"

namespace cli {

int CsvReader::get()
{
    if (m_backCount > 0)
        return m_back[--m_backCount];
    return getc_unlocked(m_file); // only this reader reads the file
}

void CsvReader::unget(int c)
{
    m_back[m_backCount++] = c;
}

bool CsvReader::following(int expected)
{
    const int c = get();
    if (c == expected)
        return true;
    unget(c);
    return false;
}

bool CsvReader::next(std::vector<std::string> &fields, bool &tooLong)
{
    fields.clear();
    tooLong = false;
    m_fieldCount = 0;
    if (m_atStart) {
        m_atStart = false;
        const int mark[] = {0xEF, 0xBB, 0xBF};
        int read[3];
        int n = 0;
        while (n < 3 && (read[n] = get()) == mark[n])
            ++n;
        if (n < 3) // no mark: the bytes go back for the record
            for (int i = n; i >= 0; --i)
                unget(read[i]);
    }
    int c = get();
    if (c == EOF)
        return false;
    m_recordLine = m_line;

    // Every byte read counts; beyond the limit nothing more is kept.
    std::size_t size = 0;
    const auto count = [&] {
        if (++size > MaxRecord)
            tooLong = true;
    };
    std::string field;
    bool fieldStarted = false; // the field has bytes, kept or not
    const auto keep = [&](int byte) {
        count();
        fieldStarted = true;
        if (!tooLong)
            field += static_cast<char>(byte);
    };
    bool quoted = false;
    for (; c != EOF; c = get()) {
        if (c == '\r' || c == '\n') {
            ++m_line;
            const bool crLf = c == '\r' && following('\n');
            if (!quoted)
                break;
            keep(c);
            if (crLf)
                keep('\n');
        } else if (quoted && c == '"') {
            count();
            if (following('"'))
                keep('"'); // "" is one quote
            else
                quoted = false;
        } else if (c == '"' && !fieldStarted) {
            count();
            fieldStarted = quoted = true;
        } else if (c == ',' && !quoted) {
            count();
            if (!tooLong && fields.size() < m_keptFields)
                fields.push_back(std::move(field));
            ++m_fieldCount;
            field.clear();
            fieldStarted = false;
        } else {
            keep(c);
        }
    }
    if (fields.size() < m_keptFields)
        fields.push_back(std::move(field));
    ++m_fieldCount;
    if (tooLong) {
        fields.clear();
        m_fieldCount = 0;
    }
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
