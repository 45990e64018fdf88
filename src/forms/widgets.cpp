#include "forms/widgets.h"

#include "forms/artwork/artwork.h"

#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace forms {

QColor toColor(Rgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

QFont toFont(const Font &font)
{
    // Arial and MS Sans Serif are drawn with Liberation Sans, which has Arial's metrics. The
    // windows are laid out in pixels at 96 dots per inch, so the size is set in pixels too:
    // 9.75 points are 13 pixels on any screen. The windows use a handful of fonts; each is made
    // once and shared.
    const int pixels = std::max(1, static_cast<int>(std::lround(font.points * 96.0 / 72.0)));
    const int key = pixels * 4 + (font.bold ? 2 : 0) + (font.italic ? 1 : 0);
    static QHash<int, QFont> made;
    auto it = made.constFind(key);
    if (it == made.constEnd()) {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(pixels);
        f.setBold(font.bold);
        f.setItalic(font.italic);
        it = made.insert(key, f);
    }
    return *it;
}

int px(int twips)
{
    return static_cast<int>(std::lround(twips / double(TwipsPerPixel)));
}

LabelWidget::LabelWidget(const ControlDef &def, QWidget *parent)
    : QWidget(parent), m_text(QString::fromUtf8(def.caption)), m_fore(toColor(def.fore)),
      m_back(toColor(def.back)), m_transparent(def.transparent)
{
    m_flags = Qt::AlignTop | Qt::TextWordWrap;
    switch (def.align) {
    case Align::Left:
        m_flags |= Qt::AlignLeft;
        break;
    case Align::Right:
        m_flags |= Qt::AlignRight;
        break;
    case Align::Center:
        m_flags |= Qt::AlignHCenter;
        break;
    }
    if (!m_transparent)
        setAttribute(Qt::WA_OpaquePaintEvent);
}

void LabelWidget::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void LabelWidget::setForeColor(const QColor &colour)
{
    if (colour == m_fore)
        return;
    m_fore = colour;
    update();
}

void LabelWidget::paintEvent(QPaintEvent *)
{
    if (m_transparent && m_text.isEmpty())
        return;
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), m_back);
    if (m_text.isEmpty())
        return;
    if (isEnabled()) {
        painter.setPen(m_fore);
        painter.drawText(rect(), m_flags, m_text);
        return;
    }
    // Greyed like a disabled control of the desktop: grey text over a white emboss.
    painter.setPen(Qt::white);
    painter.drawText(rect().translated(1, 1), m_flags, m_text);
    painter.setPen(QColor(128, 128, 128));
    painter.drawText(rect(), m_flags, m_text);
}

// A picture box covers its rectangle, yet it is not marked opaque: the window then paints under
// it too, but keeps one rectangle to paint instead of a window with holes, which under a
// display costs more than the pixels saved.
PictureWidget::PictureWidget(const ControlDef &def, QWidget *parent)
    : QWidget(parent), m_name(def.picture), m_back(toColor(def.back)),
      m_fill(def.kind == Kind::PictureBox)
{
}

void PictureWidget::paintEvent(QPaintEvent *)
{
    if (!m_name && !m_fill)
        return;
    QPainter painter(this);
    if (m_fill && (!m_name || m_pixmap.width() < width() || m_pixmap.height() < height()))
        painter.fillRect(rect(), m_back);
    if (!m_name)
        return;
    if (m_pixmap.isNull() || m_pixmap.devicePixelRatio() != devicePixelRatioF())
        m_pixmap = artwork::picture(QString::fromLatin1(m_name), devicePixelRatioF());
    painter.drawPixmap(0, 0, m_pixmap);
}

ShapeWidget::ShapeWidget(const ControlDef &, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(toColor(DarkRed), 1));
    painter.setBrush(toColor(Red));
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

LineWidget::LineWidget(const ControlDef &def, QWidget *parent)
    : QWidget(parent), m_colour(toColor(def.fore))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QPoint a(px(def.rect.left), px(def.rect.top));
    const QPoint b(px(def.rect.width), px(def.rect.height));
    const QRect box = QRect(a, b).normalized(); // both ends included
    setGeometry(box);
    m_line = QLine(a - box.topLeft(), b - box.topLeft());
}

void LineWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(m_colour, 1));
    painter.drawLine(m_line);
}

} // namespace forms
