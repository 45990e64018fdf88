#pragma once

// What of a shared object the dynamic loader maps: its loaded segments. The printer module is
// checked by their digest before it is loaded; the digest of the module built with the program
// is recorded when it is built (digest/moduledigest.cpp). Stripping, which the package does,
// removes only sections the loader never reads and moves the table of sections: the digest
// leaves that table's place out and stays as it was.

#include <QByteArray>
#include <QString>

namespace forms {

// Where the last loaded segment of the 64-bit ELF file `bytes` ends; 0 when `bytes` holds no
// such file's headers.
qint64 loadedEnd(const QByteArray &bytes);

// The SHA-256 (in hex) of the loaded segments of `bytes`, the ELF header's place of the section
// table left out; empty when `bytes` is no 64-bit ELF file or a segment ends beyond them.
QByteArray loadedDigest(const QByteArray &bytes);

// The module kiila-printer built with the program: where its loaded part ends and its digest
// (generated when it is built).
extern const qint64 PrinterLoadedEnd;
extern const char PrinterDigest[];

// The printer module at `path` opened, without waiting on a pipe, and checked: a regular file
// whose loaded part is that of the module built with the program. The open descriptor (the
// caller loads and closes it), or -1 with why not in `why`: the end of a sentence that begins
// with the module's name ("is a named pipe, not a regular file").
int openPrinterModule(const QString &path, QString &why);

} // namespace forms
