#pragma once

// The design file (".kiila"): one design as the user typed it, kept on disk.
//
//   designfile.h / designfile.cpp   the format (encode, decode), reading a file, writing one;
//                                   Qt Core only, used by the program and kiila-calc
//
// The file is UTF-8 JSON, one object:
//
//   {"format": "kiila-design", "version": 1, "arrangement": 3, "cracked": false,
//    "inputs": {"c1": "100", "c2": "80", "s1": "", ...}, "project": "Hall B"}
//
// The inputs are the fields' texts exactly as typed (an empty field is an empty string), under
// the keys of design::Inputs, each of at most MaxTextLength characters: what the main window's
// field holds, so that a design opens as it was saved. A reader ignores keys it does not know,
// takes a missing input or project as empty, and refuses a file of a newer version. Reading is
// bounded (a regular file of at most 64 KiB) and strict: anything else is refused with one line
// saying what is wrong.
//
// A design of several load cases is written as version 2: its "inputs" hold the geometry only,
// and its loads are those of the cases, each a one-line name and the four load texts as typed,
// in their order:
//
//   "cases": [{"name": "ULS 1", "nsd": "12,5", "v1d": "3", "e1": "", "e2": ""}, ...]
//
// A design of one case is written as version 1, byte for byte as before, and a file of
// version 1 opens as a design of one case (no cases).
// Writing goes through outfile::OutputFile: the file appears complete or not at all.

#include "design/design.h"
#include "outfile/outfile.h"
#include "texts/texts.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace designfile {

inline constexpr char Format[] = "kiila-design";
inline constexpr int Version = 2; // the newest this reader takes
// The most load cases a design holds; many of them with long names make a file larger than a
// reader takes, which is refused when written.
inline constexpr int MaxCases = 1000;
inline constexpr qint64 MaxSize = 64 * 1024;
// The longest text of an input, in UTF-16 code units (QString's characters): the main window's
// field takes no more (its maxLength), and a reader refuses a longer one.
inline constexpr int MaxTextLength = 32767;
inline constexpr char Suffix[] = "kiila"; // the file name's, without the dot

// A case keeps the texts of the loads under their keys.
using design::LoadCount;
using design::LoadInputs;

// One load case as typed.
struct CaseTexts
{
    QString name;                         // one line, as the project name
    std::array<QString, LoadCount> loads; // in the order of LoadInputs

    friend bool operator==(const CaseTexts &, const CaseTexts &) = default;
};

// What a design file holds.
struct Contents
{
    int arrangement = 1; // 1 to 7
    bool cracked = false;
    std::array<QString, design::InputCount> texts; // in the order of design::Inputs
    QString project;                               // the report's project name
    // The load cases (at most MaxCases), in their order; none for a design of one case, whose
    // loads are the load inputs of `texts`. With cases, the load inputs of `texts` are not
    // written, and read as empty.
    QList<CaseTexts> cases;

    friend bool operator==(const Contents &, const Contents &) = default;
};

// Whether `text` is one line a field or the project name may hold, as a design file keeps it.
bool isOneLine(const QString &text);

// The file's bytes: the keys always in the same order, so the same design gives the same file.
QByteArray encode(const Contents &contents);

// The contents of a file's bytes; nothing, with what is wrong in `error` (one line, for
// example "it is of version 3, written by a newer Kiila; this one reads version 2"). The
// messages are in `language`; what the system says (why a file cannot be opened) is in its own.
std::optional<Contents> decode(const QByteArray &bytes, QString &error,
                               texts::Language language = texts::Language::English);

// The design file at `path`; nothing, with `error` naming the file and what is wrong.
std::optional<Contents> read(const QString &path, QString &error,
                             texts::Language language = texts::Language::English);

// Writes the design file at `path`; empty when it was written, else why not (one line naming
// the file). The file never replaces one of `inputs`, nor anything but a regular file, and is
// never larger than a reader takes.
QString write(const QString &path, const Contents &contents,
              const QList<outfile::Input> &inputs = {},
              texts::Language language = texts::Language::English);

} // namespace designfile
