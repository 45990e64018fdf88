#pragma once

// The product data, in standard C++ only.
//
//   sheettable.h   the thirteen columns and the installation data and article numbers of
//                  the four sizes, six length variants each
//
// The data sheet window fills its label arrays from here (its printing prints what the window
// shows); the installation drawings take the embedment depth of each size from here.

namespace product {

inline constexpr int ColumnCount = 13;
inline constexpr int RowCount = 6;
inline constexpr int SizeCount = 4;

struct Column
{
    const char *array; // the data label array of the window: "koko", "xtr", ...
    int header;        // index of its header label Label2(header)
};

// In the order the sheet fills and shows them: koko, xtr, xtrd, xtrk, xtrkd, xtrh, d0, f, h1,
// hnom, l, tfix, tinst.
extern const Column Columns[ColumnCount];

// The entry of size index 1..4 (M8, M10, M12, M16), row 1..6 and column 0..12 (the order of
// Columns). "" where the product variant does not exist, for size index or row 0, and for
// anything outside those ranges.
const char *entry(int sizeIndex, int row, int column);

// Row 1 of every size is its short variant, set shallower; the rows from 2 on are its standard
// lengths, all of one embedment.
inline constexpr int FirstStandardRow = 2;

// The nominal embedment hnom of the standard lengths of size index 1..4 (mm), 0 outside.
int standardEmbedment(int sizeIndex);

} // namespace product
