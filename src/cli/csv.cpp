#include "cli/csv.h"

namespace cli {

int CsvReader::get()
{
    if (m_pushedBack != -2) {
        const int c = m_pushedBack;
        m_pushedBack = -2;
        return c;
    }
    return std::fgetc(m_file);
}

void CsvReader::unget(int c)
{
    m_pushedBack = c;
}

bool CsvReader::next(std::vector<std::string> &fields, bool &tooLong)
{
    fields.clear();
    tooLong = false;
    int c = get();
    if (c == EOF)
        return false;

    std::size_t size = 0;
    std::string field;
    bool quoted = false;
    for (;; c = get()) {
        if (c == EOF)
            break;
        if (quoted) {
            if (c == '"') {
                const int following = get();
                if (following != '"') {
                    quoted = false;
                    unget(following);
                    continue;
                }
            }
        } else if (c == '"' && field.empty()) {
            quoted = true;
            continue;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
            continue;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r') {
                const int following = get();
                if (following != '\n')
                    unget(following);
            }
            break;
        }
        if (++size > MaxRecord)
            tooLong = true;
        else
            field += static_cast<char>(c);
    }
    fields.push_back(std::move(field));
    if (tooLong)
        fields.clear();
    return true;
}

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

} // namespace cli
