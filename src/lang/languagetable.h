#pragma once

// The languages of the program, one row each: its tag, its file, the code page of the file, and
// what choosing it sets in the windows beside the lines of its file. A new language is a row
// here and its file in lang/ (and its flag where a window shows flags). Standard C++ only:
// kiila-calc reads it as the windows do.

#include <cstddef>
#include <string_view>

namespace lang {

// A language's value is also the index of its flag (the ImgLanguage images) and of its row.
enum class Language { Russian = 0, English = 1, Finnish = 2 };

// The language of the windows' definitions and of the calculation's own texts: the windows show
// it without a file.
inline constexpr Language BuiltIn = Language::Finnish;

// Character sets of the "lbl" controls: Western for English and Finnish, the system's default
// set for Russian. Qt draws Unicode text whatever the value; it is kept as the control's
// property for the windows that read it.
inline constexpr int WesternCharset = 0;
inline constexpr int DefaultCharset = 1;
// A flag that leaves the character set as it is.
inline constexpr int KeepCharset = -1;

// The windows are drawn in English and in Finnish: the tabs, the help, the notice and the print
// confirmations. Which of the two a language shows; Unchanged leaves them as they are.
enum class WindowTexts { Unchanged, English, Finnish };

struct LanguageRow
{
    Language language;
    const char *tag;      // the language tag, also kiila-calc's --lang
    const char *locale;   // its code in the system's translations (Qt's own dialogs): "fi"
    const char *file;     // its file beside the program
    const char *encoding; // the code page of its file when the file has no byte-order mark
    int charset;          // what its flag sets on the "lbl" controls
    WindowTexts windowTexts;
    // What the windows set beside the lines of the file; nullptr where the language leaves it.
    const char *version;       // the main window's version caption Label10
    int label14Top;            // the main window's data sheet command Label14 (twips)
    const char *sizeHeading;   // the data sheet's heading of the size column, Label2(7)
    const char *noticeCaption; // the notice's title, shown over its English text
};

// In the order of the languages' values. The English flag keeps the character set: after the
// Russian flag the Russian set stays. The Russian caption of Label14 sits a little higher.
inline constexpr LanguageRow Languages[] = {
    {.language = Language::Russian,
     .tag = "rus",
     .locale = "ru",
     .file = "rus.txt",
     .encoding = "windows-1251",
     .charset = DefaultCharset,
     .windowTexts = WindowTexts::Unchanged,
     .version = nullptr,
     .label14Top = 6495,
     .sizeHeading = nullptr,
     .noticeCaption = nullptr},
    {.language = Language::English,
     .tag = "eng",
     .locale = "en",
     .file = "english.txt",
     .encoding = "windows-1252",
     .charset = KeepCharset,
     .windowTexts = WindowTexts::English,
     .version = "VERSION ENGLISH 01_b",
     .label14Top = 6600,
     .sizeHeading = "Size",
     .noticeCaption = "HELP"},
    {.language = Language::Finnish,
     .tag = "fin",
     .locale = "fi",
     .file = "fin.txt",
     .encoding = "windows-1252",
     .charset = WesternCharset,
     .windowTexts = WindowTexts::Finnish,
     .version = "VERSIO SUOMI  01_b", // two blanks
     .label14Top = 6600,
     .sizeHeading = "Koko",
     .noticeCaption = nullptr},
};

constexpr bool inOrderOfValues()
{
    for (std::size_t i = 0; i < std::size(Languages); ++i)
        if (static_cast<std::size_t>(Languages[i].language) != i)
            return false;
    return true;
}
static_assert(inOrderOfValues(), "the rows of Languages stand in the order of their values");

constexpr const LanguageRow &row(Language language)
{
    return Languages[static_cast<std::size_t>(language)];
}

// The row of the flag of that index, or nullptr.
constexpr const LanguageRow *rowOfFlag(int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < std::size(Languages) ? &Languages[index]
                                                                                : nullptr;
}

// The row of the tag ("eng"), or nullptr.
constexpr const LanguageRow *rowOfTag(std::string_view tag)
{
    for (const LanguageRow &row : Languages)
        if (tag == row.tag)
            return &row;
    return nullptr;
}

constexpr int flagOf(Language language)
{
    return static_cast<int>(language);
}

} // namespace lang
