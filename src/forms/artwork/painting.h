#pragma once

// Drawing helpers shared by the picture files of this folder; not part of the library's API.
//
//   backgrounds.cpp   the three window backgrounds and the pictures cut from them (tabs, pill,
//                     results panel, back tab), the Yes button's word
//   arrangements.cpp  the seven isometric arrangement pictures, screen and print
//   installation.cpp  the four installation drawings and the dimensioned drawing
//   emblem.cpp        our emblem, in the window frames and as the program's icon
//
// Every function paints in device-independent pixels of the picture, or of the window's client
// area where it says so; the caller has set up the device pixel ratio.

#include "forms/definition.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace artwork::detail {

enum class Window { Form1, Form2, Form3 };
enum class TabWords { Finnish, English };

// The navy of the frame.
inline const QColor Navy(30, 52, 90);

// "Liberation Sans" at a pixel size, so that text has the same size at every ratio.
QFont sansFont(qreal pixelSize, bool bold = false, bool italic = false);

// A filled black arrowhead whose point is at `tip`, pointing along `direction` (as given, not
// normalised), `length` long and 2 * `halfWidth` wide at its base.
void arrowHead(QPainter &p, QPointF tip, QPointF direction, qreal length, qreal halfWidth);

// Text with a lowered, smaller index after it ("C" "1", "N" "sd"), its baseline at `baseline`,
// centred on `centreX`.
void drawIndexed(QPainter &p, qreal centreX, qreal baseline, const QString &main,
                 const QString &index, qreal pixelSize, const QColor &colour = Qt::black);

// Our emblem in the top left corner of a window frame, in client coordinates: a slanted tile
// that fills EmblemArea with its outline.
inline const QRectF EmblemArea(6.5, 11.5, 51, 36);
void paintEmblem(QPainter &p);

// A control's rectangle in pixels in its window's client area (inside its frame, if it has one),
// as the window's definition places it.
QRect clientRect(const forms::FormDef &form, const forms::ControlDef &control);

// The whole background of a screen-size window, 1024 x 768, in client coordinates: what lies
// under a control (a box, a check box, an option button) is drawn where `form` places it.
void paintBackground(QPainter &p, Window window, TabWords words, const forms::FormDef &form);

// The blue pill of the calculate button, without text.
void paintPill(QPainter &p, const QRectF &rect);

// What is drawn over a cut of the main window background: the white results panel (over the
// cut at ImgPodlozh's place) and the pill of ImgSHOW; the word of the Yes button on its own.
void paintResultsPanel(QPainter &p);
void paintBluePill(QPainter &p);
void paintYesButton(QPainter &p);

// The drawing of arrangement n (1..7) in main window client coordinates: it fits in
// ArrangementArea, which every screen picture place Picture1(0..6) covers.
inline const QRectF ArrangementArea(50, 286, 406, 290);
void paintArrangement(QPainter &p, int n);

// Installation drawing of size index 1..4 (M8..M16) and the dimensioned drawing of the data
// sheet, each filling a picture of the given size on white.
void paintInstallation(QPainter &p, int sizeNo, const QSize &size);
void paintDimensionedDrawing(QPainter &p, const QSize &size);

} // namespace artwork::detail
