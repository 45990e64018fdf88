#pragma once

// The widgets of the runtime. Text fields, buttons, frames and picture boxes are widgets of
// their own. Labels, images, shapes and lines are windowless: the window or frame they lie on
// draws them over its background, lowest first, and hands them the clicks on its area, so
// they always lie below the widgets beside them. Only the runtime makes these; the window
// logic reaches every control through forms::Control.

#include "forms/definition.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace forms {

class Control;

QColor toColor(Rgb rgb);
QFont toFont(const Font &font);
// The font as a window drawn at the zoom factor shows it.
QFont zoomedFont(const QFont &font, qreal zoom);
QRect pixelRect(const Rect &twips, qreal zoom = 1);
// Whether the painter draws on paper or into a file (QWidget::render onto a printer): pictures
// are then painted as vectors, not from their screen bitmaps.
bool paintsForPrint(const QPainter &painter);
// How a label's caption is drawn: from the top, wrapped at the width, aligned as defined.
int textFlags(Align align);
// A label's caption with each run of blanks at the start of a line that is wider than the label
// broken as the desktop's labels break it: every full line of blanks a line of its own, the rest
// the indent of the text after it (Qt's wrap puts the text after any such run on line two).
QString breakBlankRuns(const QString &text, const QFont &font, int width);

// A widget that windowless controls lie on: a window or a frame.
class Surface : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Adds a windowless control above those added before it.
    void addWindowless(Control *control);
    // The windowless controls, lowest first.
    const QList<Control *> &windowless() const { return m_windowless; }

protected:
    virtual void paintBackground(QPainter &painter) = 0;
    // Whether a drag from the surface's own background (no widget, no control that takes
    // clicks) moves the window, through the window manager.
    virtual bool dragsWindow() const { return false; }

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // The second press of a double click is no click of its own.
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    Control *windowlessAt(QPoint at) const;

    QList<Control *> m_windowless;
    QPointer<Control> m_pressed;
    std::optional<QPoint> m_dragFrom;
};

// A frame: its back colour under the controls it holds.
class FrameWidget : public Surface
{
    Q_OBJECT
public:
    FrameWidget(const ControlDef &def, QWidget *parent);

protected:
    void paintBackground(QPainter &painter) override;

private:
    QColor m_back;
};

// A picture box: its picture at the top-left corner on its back colour. The picture is fetched
// from the artwork when first drawn, so hidden pictures cost nothing until they are shown.
class PictureWidget : public QWidget
{
    Q_OBJECT
public:
    PictureWidget(const ControlDef &def, QWidget *parent);

    void setPicture(const QString &name);
    // The artwork name of the picture shown; empty: none.
    QString picture() const { return m_name; }
    // The picture is drawn at the window's zoom.
    void setZoom(qreal zoom);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    QColor m_back;
    QPixmap m_pixmap;
    qreal m_zoom = 1;
};

} // namespace forms
