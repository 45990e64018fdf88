#pragma once

// Reading a printed page back with Poppler's tools, for the print tests on a real queue.

#include <QImage>
#include <QRect>
#include <QString>

namespace spooled {

// The number of pages of a PDF file; -1 when pdfinfo cannot read it.
int pageCount(const QString &pdf);
// The text of the file (or of its page `page`, counted from 1) with every run of blanks and line
// ends as one blank; empty when pdftotext cannot read it.
QString text(const QString &pdf, int page = 0);
// The first page rasterised at `dpi` (pdftoppm); null when it cannot be.
QImage image(const QString &pdf, int dpi);
// The share of dark pixels (grey below 128) in a rectangle of the image.
double darkShare(const QImage &image, const QRect &area);

} // namespace spooled
