#pragma once

// The language files beside the program, named by the rows of Languages. Each holds, line by
// line, a header (line 1, shown nowhere), the captions of the main window (lines 2 to 23) and
// the pieces the calculation composes its texts of (lines 24 to 34).

#include "calc/calc.h"
#include "lang/languagetable.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace lang {

inline constexpr int LineCount = 34;

// The name of the language's file, "english.txt".
QString fileName(Language language);

// The file of the language in the folder, or nothing when it is not there (or the folder is
// empty). Only a regular file, or a link to one, counts.
QString filePath(const QString &folder, Language language);

// The file of the language beside the program, else in the data folder of an installation
// (share/kiila beside the program's bin folder); nothing when neither holds it.
QString findFile(const QString &programFolder, Language language);
// What findFile finds for each language of the table: the files a file the program writes may not
// replace.
QStringList findFiles(const QString &programFolder);

// The first 34 lines of the file (fewer when the file is shorter), nothing when it is not a
// regular file or cannot be read. A line ends at CR, CR LF or LF; the rest of a line beyond
// 4 KiB is dropped, and nothing beyond the first 34 x (4 KiB + CR LF) bytes is read. The text
// is in the language's code page (Windows-1251 for Russian, Windows-1252 for English and
// Finnish), UTF-8 after a byte-order mark.
std::optional<QStringList> readLines(const QString &path, Language language);

// Puts lines 9 (the caption of arrangement 7), 23 (the advice) and 24 to 34 (the message
// pieces) into the texts; lines the file does not have leave their texts as they were. Line
// numbers count from 1: lines[0] is the header.
void applyToTexts(const QStringList &lines, calc::Texts &texts);

} // namespace lang
