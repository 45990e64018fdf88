#pragma once

// The pieces of kiila-calc's JSON, shared by the writers and the working values (writers.cpp).

#include "calc/calc.h"

#include <string>
#include <string_view>

namespace cli {

// The shortest form of the number that reads back exactly.
std::string number(double value);
// The text as a JSON string, made valid UTF-8.
std::string jsonString(std::string_view text);
// "chosen", "tension", "shear", "eccentric".
std::string sizeOutcomeName(calc::SizeOutcome outcome);
// "tension", "shear", "eccentric".
std::string checkKindName(calc::CheckKind kind);

// "key": value pairs joined into an object, in the order given.
class JsonObject
{
public:
    JsonObject &add(std::string_view key, const std::string &json)
    {
        m_text += m_text.size() > 1 ? ", " : "";
        m_text += jsonString(key) + ": " + json;
        return *this;
    }
    std::string done() const { return m_text + "}"; }

private:
    std::string m_text = "{";
};

} // namespace cli
