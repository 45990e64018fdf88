#include "texts/texts.h"

namespace texts {

extern const Entry EnglishTable[TextCount];
extern const Entry FinnishTable[TextCount];

const char *text(Language language, Text key)
{
    const Entry *table = language == Language::Finnish ? FinnishTable : EnglishTable;
    return table[static_cast<std::size_t>(key)].text;
}

std::string fill(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t n =
            i + 1 < pattern.size() ? std::size_t(pattern[i + 1] - '1') : args.size();
        if (pattern[i] == '%' && n < args.size()) {
            out += args.begin()[n];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::size_t length(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80; // not a continuation byte
    return count;
}

std::string padded(std::string utf8, std::size_t characters)
{
    if (const std::size_t now = length(utf8); now < characters)
        utf8.append(characters - now, ' ');
    return utf8;
}

} // namespace texts
