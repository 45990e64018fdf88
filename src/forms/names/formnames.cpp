// Writes forms/names.h: the name of every control of every window definition as a constant, one
// namespace a window. Runs at build time; the logic addresses controls through these constants.

#include "forms/definitions.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

namespace {

struct Entry
{
    bool array = false;
    int first = 0;
    int last = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::string text = "#pragma once\n\n"
                       "// Generated from the window definitions (forms/names/formnames.cpp).\n\n"
                       "#include \"forms/controlname.h\"\n\n"
                       "namespace forms::names {\n";
    for (const forms::FormDef *form : forms::Windows) {
        std::map<std::string, Entry> entries;
        for (const forms::ControlDef &c : form->controls) {
            const bool array = c.index != forms::NoIndex;
            auto [it, added] = entries.try_emplace(c.name, Entry{array, c.index, c.index});
            Entry &e = it->second;
            if (!added && e.array != array) {
                std::fprintf(stderr, "%s: %s is both a control and a control array\n", form->name,
                             c.name);
                return 1;
            }
            if (array && !added) {
                e.first = std::min(e.first, c.index);
                e.last = std::max(e.last, c.index);
            }
        }
        text += "namespace " + std::string(form->name) + " {\n";
        for (const auto &[name, e] : entries) {
            if (e.array)
                text += "inline constexpr ControlArrayName " + name + "{\"" + name + "\", " +
                        std::to_string(e.first) + ", " + std::to_string(e.last - e.first + 1) +
                        "};\n";
            else
                text += "inline constexpr ControlName " + name + "{\"" + name + "\"};\n";
        }
        text += "} // namespace " + std::string(form->name) + "\n";
    }
    text += "} // namespace forms::names\n";

    // Written only when it changes, so that a change elsewhere in the definitions does not
    // rebuild every window's logic.
    if (std::FILE *old = std::fopen(argv[1], "rb")) {
        std::string before;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, old)) > 0;)
            before.append(buffer, n);
        std::fclose(old);
        if (before == text)
            return 0;
    }
    std::FILE *out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size() ||
        std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
