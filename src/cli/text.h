#pragma once

// Text echoed from the input into the output and the messages.

#include <string>
#include <string_view>

namespace cli {

// Valid UTF-8 in every output: each byte that is not part of a well-formed sequence becomes
// U+FFFD.
std::string validUtf8(std::string_view text);

// Valid UTF-8 on one line: control characters written as \n, \r, \t or \xHH.
std::string oneLine(std::string_view text);

// User text inside a message: on one line, between single quotes.
inline std::string quoted(std::string_view text)
{
    return "'" + oneLine(text) + "'";
}

} // namespace cli
