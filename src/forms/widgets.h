#pragma once

// The widgets that draw the kinds of control. Only the runtime makes them; the window logic
// reaches them through forms::Control.

#include "forms/definition.h"

#include <QPixmap>
#include <QWidget>

namespace forms {

QColor toColor(Rgb rgb);
QFont toFont(const Font &font);
// Twips to pixels, rounded.
int px(int twips);

// Static text aligned at the top, wrapped at the width; a disabled label is drawn greyed.
class LabelWidget : public QWidget
{
    Q_OBJECT
public:
    LabelWidget(const ControlDef &def, QWidget *parent);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QColor foreColor() const { return m_fore; }
    void setForeColor(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QColor m_fore;
    QColor m_back;
    bool m_transparent;
    int m_flags;
};

// A picture at the top-left corner, clipped; fetched from the artwork when first drawn, so
// hidden pictures cost nothing until they are shown. Without a picture it draws nothing.
class PictureWidget : public QWidget
{
    Q_OBJECT
public:
    PictureWidget(const ControlDef &def, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const char *m_name;
    QColor m_back;
    bool m_fill;
    QPixmap m_pixmap;
};

// The red circle marker.
class ShapeWidget : public QWidget
{
    Q_OBJECT
public:
    ShapeWidget(const ControlDef &def, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A 1-pixel line inside its bounding box.
class LineWidget : public QWidget
{
    Q_OBJECT
public:
    LineWidget(const ControlDef &def, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLine m_line;
    QColor m_colour;
};

} // namespace forms
