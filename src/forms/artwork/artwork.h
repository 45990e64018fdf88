#pragma once

// Every picture of the eight windows, drawn by our own code and keyed by name.
//
//   form1_background, form2_background, form3_background      1024 x 768 window pictures
//   arrangement1 .. arrangement7                               Form1.Picture1(0..6)
//   arrangement1_print .. arrangement7_print                   FrmPRINT.Picture1(0..6)
//   installation_m8, _m10, _m12, _m16                          Form1.Picture1(7..10)
//   results_panel (Form1.ImgPodlozh), blue_pill (Form1.ImgSHOW),
//   form1_tabs_eng (Form1.Image2), form2_drawing (Form2.Image1),
//   form2_tabs_eng (Form2.Image2), form3_back_eng (Form3.ImgEng), yes_button (FrmTULOSTA*.Command1)
//
// A picture is drawn the first time it is asked for at a device pixel ratio, then kept (and, once
// keepPicturesIn names a folder, kept there for the runs after). A picture
// that blends into a window background is drawn for the place where the window's definition
// puts its control: moving the control in the definition moves the background under it.

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace forms {
struct FormDef;
}

namespace artwork {

QStringList names();

// The control that places a picture drawn to blend with its window's background ("Form1",
// "Picture1", 3); all null for a picture that stands alone.
struct Place
{
    const char *window = nullptr;
    const char *control = nullptr;
    int index = -1; // forms::NoIndex
};
Place placeOf(const QString &name);

// The nominal pixel size; an empty size for an unknown name.
QSize nominalSize(const QString &name);

// The picture at its nominal size times `scale` in device-independent pixels (a window's zoom),
// drawn for the given device pixel ratio: sharp at any scale. A null pixmap for an unknown name.
QPixmap picture(const QString &name, qreal devicePixelRatio = 1.0, qreal scale = 1.0);

// Pictures drawn for the screen are written into `folder` (made when missing) and read from
// there by later runs, which then draw nothing: a picture is kept by its name, its size in
// device pixels and its device pixel ratio, so that another ratio is drawn afresh. Nothing
// checks that the drawing code is still the one that drew them: the folder must belong to one
// build of the program (removeOtherKeptPictures clears the others). A picture that cannot be
// written or read is drawn. An empty folder (the default) keeps nothing on disk.
void keepPicturesIn(const QString &folder);

// The picture kept in the folder for the name at its nominal size and the ratio; a null image
// when none is.
QImage keptPicture(const QString &name, qreal devicePixelRatio = 1.0);

// Removes the sibling folders of `folder` that hold pictures of other builds.
void removeOtherKeptPictures(const QString &folder);

// Paints the picture as vectors with the painter, at its nominal size from the painter's origin:
// for printing, where a bitmap would be coarse. False for an unknown name.
bool paint(QPainter &painter, const QString &name);

// Paints, as `paint` does, the background picture of the window that the definition describes,
// drawn for the places its controls have there: the boxes, check boxes, option buttons and the
// pill lie under the controls they belong to. The program's own backgrounds are drawn for the
// program's definitions; this takes any (a copy with a control moved). False when the
// definition's picture is no window background.
bool paintBackground(QPainter &painter, const forms::FormDef &form);

} // namespace artwork
