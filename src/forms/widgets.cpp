#include "forms/widgets.h"

#include "forms/artwork/artwork.h"
#include "forms/control.h"

#include <QApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <cmath>

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

QFont zoomedFont(const QFont &font, qreal zoom)
{
    if (zoom == 1 || font.pixelSize() <= 0)
        return font;
    QFont zoomed = font;
    zoomed.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * zoom))));
    return zoomed;
}

QRect pixelRect(const Rect &twips, qreal zoom)
{
    return QRect(px(twips.left, zoom), px(twips.top, zoom), px(twips.width, zoom),
                 px(twips.height, zoom));
}

bool paintsForPrint(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    return engine && engine->type() != QPaintEngine::Raster;
}

QString breakBlankRuns(const QString &text, const QFont &font, int width)
{
    if (!text.contains(QLatin1String("  ")))
        return text;
    const int blank = QFontMetrics(font).horizontalAdvance(QLatin1Char(' '));
    if (blank <= 0 || width <= 0)
        return text;
    const qsizetype perLine = std::max(1, width / blank);
    QString broken;
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype run = 0;
        while (at + run < text.size() && text[at + run] == QLatin1Char(' '))
            ++run;
        if (run > perLine)
            broken += QString(run / perLine, QLatin1Char('\n')) +
                      QString(run % perLine, QLatin1Char(' '));
        else
            broken += text.mid(at, run);
        at += run;
        const qsizetype end = text.indexOf(QLatin1Char('\n'), at);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        broken += text.mid(at, next - at);
        at = next;
    }
    return broken;
}

int textFlags(Align align)
{
    switch (align) {
    case Align::Right:
        return Qt::AlignTop | Qt::TextWordWrap | Qt::AlignRight;
    case Align::Center:
        return Qt::AlignTop | Qt::TextWordWrap | Qt::AlignHCenter;
    case Align::Left:
        break;
    }
    return Qt::AlignTop | Qt::TextWordWrap | Qt::AlignLeft;
}

void Surface::addWindowless(Control *control)
{
    m_windowless.append(control);
}

void Surface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintBackground(painter);
    const QRect dirty = event->rect();
    for (const Control *c : std::as_const(m_windowless))
        if (c->isVisible() && c->geometry().intersects(dirty))
            c->paint(painter);
}

Control *Surface::windowlessAt(QPoint at) const
{
    // The topmost visible control there that takes clicks; markers and lines take none.
    for (auto it = m_windowless.crbegin(); it != m_windowless.crend(); ++it) {
        Control *c = *it;
        if (c->isVisible() && c->kind() != Kind::Shape && c->kind() != Kind::Line &&
            c->geometry().contains(at))
            return c;
    }
    return nullptr;
}

void Surface::mousePressEvent(QMouseEvent *event)
{
    // A click is a press and a release of the left button on the same control. A disabled
    // control takes the press and does nothing with it.
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    Control *c = windowlessAt(at);
    m_pressed = c && c->isEnabled() ? c : nullptr;
    // A drag from the background, or from a control whose clicks no handler takes, moves the
    // window; one from a widget lying here (its press passed on) does not.
    m_dragFrom.reset();
    if (dragsWindow() && (!c || !c->takesClicks()) && !childAt(at))
        m_dragFrom = at;
}

// The window manager moves the window from the first move of a drag on; a press without a
// drag stays a click.
void Surface::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragFrom || !(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - *m_dragFrom).manhattanLength() <
            QApplication::startDragDistance())
        return;
    m_dragFrom.reset();
    m_pressed = nullptr;
    if (QWindow *handle = window()->windowHandle())
        handle->startSystemMove();
}

void Surface::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragFrom.reset();
    Control *c = m_pressed;
    m_pressed = nullptr;
    if (c && c->isVisible() && c->isEnabled() &&
        c->geometry().contains(event->position().toPoint()))
        emit c->clicked();
}

void Surface::mouseDoubleClickEvent(QMouseEvent *)
{
    m_pressed = nullptr;
    m_dragFrom.reset();
}

// A frame covers its rectangle, yet it is not marked opaque, for the reason given for picture
// boxes below.
FrameWidget::FrameWidget(const ControlDef &def, QWidget *parent)
    : Surface(parent), m_back(toColor(def.back))
{
}

void FrameWidget::paintBackground(QPainter &painter)
{
    painter.fillRect(rect(), m_back);
}

// A picture box covers its rectangle, yet it is not marked opaque: the window then paints under
// it too, but keeps one rectangle to paint instead of a window with holes, which under a
// display costs more than the pixels saved.
PictureWidget::PictureWidget(const ControlDef &def, QWidget *parent)
    : QWidget(parent), m_name(QString::fromLatin1(def.picture ? def.picture : "")),
      m_back(toColor(def.back))
{
}

void PictureWidget::setPicture(const QString &name)
{
    m_name = name;
    m_pixmap = QPixmap();
    update();
}

void PictureWidget::setZoom(qreal zoom)
{
    m_zoom = zoom;
    m_pixmap = QPixmap();
    update();
}

void PictureWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool hasPicture = !m_name.isEmpty();
    // For print the picture is painted as vectors and without a clip of its own (see
    // Control::paint).
    if (hasPicture && paintsForPrint(painter)) {
        painter.fillRect(rect(), m_back);
        artwork::paint(painter, m_name);
        return;
    }
    if (hasPicture && (m_pixmap.isNull() || m_pixmap.devicePixelRatio() != devicePixelRatioF()))
        m_pixmap = artwork::picture(m_name, devicePixelRatioF(), m_zoom);
    // The back colour shows wherever the picture does not cover the box.
    if (!hasPicture || m_pixmap.hasAlphaChannel() ||
        m_pixmap.deviceIndependentSize().width() < width() ||
        m_pixmap.deviceIndependentSize().height() < height())
        painter.fillRect(rect(), m_back);
    if (hasPicture)
        painter.drawPixmap(0, 0, m_pixmap);
}

} // namespace forms
