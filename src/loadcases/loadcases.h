#pragma once

// Tables of load cases as text: what kiila-calc's --cases reads, and what the Load cases window
// imports, exports and takes from the clipboard.
//
//   loadcases.h / loadcases.cpp   reading a CSV table or a block of spreadsheet cells into
//                                 cases, writing cases as either; Qt Core only
//
// A table has the columns name, nsd, v1d, e1, e2. A CSV table (commas, fields quoted as a
// spreadsheet quotes them) begins with a header naming its columns in any order; a column left
// out is empty in every row. Cells pasted from a spreadsheet are separated by tabs and may begin
// with such a header; without one they are name, nsd, v1d, e1, e2 in this order, a row of fewer
// cells leaving the last ones empty. An empty load is 0, a number reads as a typed number does
// (calc::readNumber: a decimal point or comma). Blank rows are skipped. A row that cannot be read
// refuses the whole table, with one line naming its row (the header is row 1).

#include "design/design.h"
#include "designfile/designfile.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace loadcases {

// The most cases a design holds, and the longest name of one in UTF-16 code units; a name is
// one line, as the project name.
inline constexpr int MaxCases = designfile::MaxCases;
inline constexpr int MaxNameLength = 100;
// The most bytes of a CSV file a reader takes (far more than MaxCases rows need).
inline constexpr qsizetype MaxFileSize = 1024 * 1024;

// The columns of a table, in the order they are written.
inline constexpr const char *Columns[] = {"name", "nsd", "v1d", "e1", "e2"};

// Whether `name` is a name a case may have.
bool isCaseName(const QString &name);

// The cases of a CSV table's bytes (UTF-8, a byte-order mark allowed); nothing, with what is
// wrong in `error`.
std::optional<std::vector<design::LoadCase>> fromCsv(const QByteArray &bytes, QString &error);

// The cases of a block of spreadsheet cells (tab-separated, as the clipboard holds them).
std::optional<std::vector<design::LoadCase>> fromCells(const QString &text, QString &error);

// The cases as a CSV table with its header, lines ended by CR LF: each number in the shortest
// form that reads back as itself.
QByteArray toCsv(std::span<const design::LoadCase> cases);

// The cases as spreadsheet cells with the header row, for the clipboard.
QString toCells(std::span<const design::LoadCase> cases);

} // namespace loadcases
