#include "product/sheettable.h"

#include <cstdlib>
#include <string_view>

namespace product {

const Column Columns[ColumnCount] = {
    {"koko", 7}, {"xtr", 1}, {"xtrd", 2},  {"xtrk", 3}, {"xtrkd", 4}, {"xtrh", 5},   {"d0", 9},
    {"f", 8},    {"h1", 10}, {"hnom", 12}, {"l", 6},    {"tfix", 11}, {"tinst", 13},
};

namespace {

// One line per length variant. Columns: koko; the article numbers of X-TR, X-TR D, R-UZI,
// R-UZI D and R-IZU ("" where the variant is not made); d0, f, h1, hnom, l, tfix (mm) and the
// installation torque. f does not grow with the length everywhere (M12 and M16, rows 5 and 6),
// and in M16 row 4 the D variants have the lower numbers: both are the product data as issued.
using Row = const char *[ColumnCount];

// clang-format off
constexpr Row M8[RowCount] = {
    {"8x50",   "00110", "",      "02110", "",      "04110", "8",  "25", "45",  "40", "50",  "2",   "18"},
    {"8/10",   "00112", "",      "02112", "",      "04112", "8",  "32", "65",  "55", "75",  "10",  "18"},
    {"8/30",   "00114", "",      "02114", "",      "04114", "8",  "41", "65",  "55", "95",  "30",  "18"},
    {"8/55",   "00116", "",      "02116", "",      "04116", "8",  "66", "65",  "55", "120", "55",  "18"},
    {"8/85",   "00118", "",      "02118", "",      "",      "8",  "92", "65",  "55", "150", "85",  "18"},
    {"",       "",      "",      "",      "",      "",      "",   "",   "",    "",   "",    "",    ""},
};
constexpr Row M10[RowCount] = {
    {"10x60",  "00130", "",      "02130", "",      "04130", "10", "28", "50",  "40", "60",  "3",   "30"},
    {"10/10",  "00132", "",      "02132", "",      "04132", "10", "34", "70",  "60", "80",  "10",  "30"},
    {"10/25",  "",      "00134", "",      "02134", "",      "10", "37", "70",  "60", "95",  "25",  "30"},
    {"10/30",  "00136", "",      "02136", "",      "04136", "10", "54", "70",  "60", "100", "30",  "30"},
    {"10/55",  "00137", "00138", "02137", "02138", "04138", "10", "67", "70",  "60", "125", "55",  "30"},
    {"10/80",  "00139", "00140", "02139", "02140", "",      "10", "92", "70",  "60", "150", "80",  "30"},
};
constexpr Row M12[RowCount] = {
    {"12/5",   "00150", "",      "02150", "",      "04150", "12", "35", "80",  "70", "85",  "5",   "54"},
    {"12/20",  "00152", "",      "02152", "",      "04152", "12", "50", "80",  "70", "100", "20",  "54"},
    {"12/35",  "00153", "00154", "02153", "02154", "04154", "12", "52", "80",  "70", "115", "35",  "54"},
    {"12/65",  "00155", "00156", "02155", "02156", "04156", "12", "82", "80",  "70", "145", "65",  "54"},
    {"12/105", "00157", "00158", "02157", "02158", "",      "12", "46", "80",  "70", "185", "105", "54"},
    {"12/155", "",      "00160", "",      "02160", "",      "12", "46", "80",  "70", "235", "155", "54"},
};
constexpr Row M16[RowCount] = {
    {"16x90",  "00169", "",      "",      "",      "",      "16", "45", "80",  "70", "90",  "3",   "100"},
    {"16/5",   "00170", "",      "02170", "",      "04170", "16", "53", "105", "95", "110", "5",   "120"},
    {"16/20",  "00171", "",      "02171", "",      "04171", "16", "65", "105", "95", "125", "20",  "120"},
    {"16/45",  "00173", "00172", "02173", "02172", "04172", "16", "76", "105", "95", "150", "45",  "120"},
    {"16/70",  "00175", "",      "02175", "",      "",      "16", "55", "105", "95", "175", "70",  "120"},
    {"16/95",  "00176", "00174", "02176", "02174", "",      "16", "55", "105", "95", "200", "95",  "120"},
};
// clang-format on

constexpr const Row *Sizes[SizeCount] = {M8, M10, M12, M16};

} // namespace

const char *entry(int sizeIndex, int row, int column)
{
    if (sizeIndex < 1 || sizeIndex > SizeCount || row < 1 || row > RowCount || column < 0 ||
        column >= ColumnCount)
        return "";
    return Sizes[sizeIndex - 1][row - 1][column];
}

int standardEmbedment(int sizeIndex)
{
    for (int column = 0; column < ColumnCount; ++column)
        if (std::string_view(Columns[column].array) == "hnom")
            return std::atoi(entry(sizeIndex, FirstStandardRow, column));
    return 0;
}

} // namespace product
