#include "cli/text.h"

#include <cstdio>

namespace cli {
namespace {

// The length of the well-formed UTF-8 sequence at the start of the text, 0 when there is none:
// no overlong forms, no surrogates, nothing beyond U+10FFFF.
std::size_t utf8Sequence(std::string_view text)
{
    const auto byte = [&text](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    };
    const auto continuation = [&](std::size_t i) { return (byte(i) & 0xC0) == 0x80; };
    const unsigned char b = byte(0);
    if (b < 0x80)
        return text.empty() ? 0 : 1;
    if (b >= 0xC2 && b <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const unsigned char low = b == 0xE0 ? 0xA0 : 0x80;  // overlong below
        const unsigned char high = b == 0xED ? 0x9F : 0xBF; // surrogates above
        return byte(1) >= low && byte(1) <= high && continuation(2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const unsigned char low = b == 0xF0 ? 0x90 : 0x80;  // overlong below
        const unsigned char high = b == 0xF4 ? 0x8F : 0xBF; // beyond U+10FFFF above
        return byte(1) >= low && byte(1) <= high && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

} // namespace

std::string validUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        // A run of ASCII at once.
        std::size_t ascii = 0;
        while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80)
            ++ascii;
        if (ascii > 0) {
            out += text.substr(0, ascii);
            text.remove_prefix(ascii);
            continue;
        }
        const std::size_t length = utf8Sequence(text);
        if (length == 0) {
            out += "\xEF\xBF\xBD"; // U+FFFD
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    return out;
}

std::string oneLine(std::string_view text)
{
    std::string out;
    for (const char c : validUtf8(text)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20 || u == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace cli
