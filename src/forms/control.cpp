#include "forms/control.h"

#include "forms/accessible.h"
#include "forms/artwork/artwork.h"
#include "forms/widgets.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace forms {
namespace {

// A line's rectangle holds its two ends; both are drawn.
QLine lineOf(const Rect &r, qreal zoom)
{
    return QLine(px(r.left, zoom), px(r.top, zoom), px(r.width, zoom), px(r.height, zoom));
}

// A line as wide as the zoom makes one pixel, at least one pixel.
int lineWidth(qreal zoom)
{
    return std::max(1, static_cast<int>(std::lround(zoom)));
}

// Drawn to the screen at whole pixels: a picture of the text looks the same there. A page or a
// scaled painter gets the text itself.
bool onScreen(const QPainter &painter)
{
    return !paintsForPrint(painter) && painter.worldTransform().type() <= QTransform::TxTranslate;
}

// A caption as the label shows it: in its colour or, greyed like a disabled control of the
// desktop, grey text over a white emboss.
void drawCaption(QPainter &p, const QRect &rect, int flags, const QString &text,
                 const QColor &colour, bool greyed)
{
    if (!greyed) {
        p.setPen(colour);
        p.drawText(rect, flags, text);
        return;
    }
    p.setPen(Qt::white);
    p.drawText(rect.translated(1, 1), flags, text);
    p.setPen(QColor(128, 128, 128));
    p.drawText(rect, flags, text);
}

// A caption drawn once into a transparent picture of its label's size, kept in the toolkit's
// bounded picture cache and shared by every label that shows the same text alike: laying out and
// drawing the text is most of the work of painting a window, and windows that are opened again
// (the data sheet, the help window) show the same texts. The family is the same for every label.
QPixmap captionPicture(qreal dpr, const QString &text, const QFont &font, const QColor &colour,
                       QSize size, int flags, bool greyed)
{
    const QString key =
        QLatin1String("caption/") +
        QString::number(font.pixelSize() * 4 + (font.bold() ? 2 : 0) + (font.italic() ? 1 : 0)) +
        u'/' + QString::number(greyed ? 0 : colour.rgba(), 16) + u'/' +
        QString::number(size.width()) + u'x' + QString::number(size.height()) + u'/' +
        QString::number(flags) + u'/' + QString::number(qRound(dpr * 100)) + u'/' + text;
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setFont(font);
        drawCaption(p, QRect(QPoint(0, 0), size), flags, text, colour, greyed);
    }
    picture = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(key, picture);
    return picture;
}

} // namespace

Control::Control(const ControlDef &def, QWidget *widget, QWidget *container, QObject *parent)
    : QObject(parent), m_def(def), m_widget(widget), m_container(container),
      m_caption(QString::fromUtf8(def.caption)), m_fore(toColor(def.fore)),
      m_font(toFont(def.font)), m_pictureName(QString::fromLatin1(def.picture ? def.picture : "")),
      m_visible(def.visible), m_rect(def.rect), m_tag(QString::fromUtf8(def.tag)),
      m_charset(def.font.charset)
{
    m_geometry = pixelGeometry(def.rect);
    if (!widget)
        return;

    // The runtime makes the widget of each kind so (form.cpp).
    switch (def.kind) {
    case Kind::TextBox:
        m_own = def.multiLine ? Own::PlainTextEdit : Own::LineEdit;
        break;
    case Kind::CommandButton:
        m_own = Own::PushButton;
        break;
    case Kind::PictureBox:
        m_own = Own::PictureBox;
        break;
    case Kind::Frame:
        m_own = Own::Frame;
        break;
    default:
        break;
    }
    switch (m_own) {
    case Own::LineEdit:
        connect(as<QLineEdit>(), &QLineEdit::textChanged, this, &Control::changed);
        connect(as<QLineEdit>(), &QLineEdit::returnPressed, this, &Control::returnPressed);
        break;
    case Own::PlainTextEdit:
        connect(as<QPlainTextEdit>(), &QPlainTextEdit::textChanged, this, &Control::changed);
        break;
    case Own::PushButton:
        connect(as<QPushButton>(), &QPushButton::clicked, this, &Control::clicked);
        break;
    default:
        break;
    }
    widget->installEventFilter(this);
}

QString Control::name() const
{
    return QString::fromLatin1(m_def.name);
}

QString Control::caption() const
{
    switch (own()) {
    case Own::LineEdit:
        return as<QLineEdit>()->text();
    case Own::PlainTextEdit:
        return as<QPlainTextEdit>()->toPlainText();
    case Own::PushButton:
        return as<QPushButton>()->text();
    default:
        return m_caption;
    }
}

void Control::setCaption(const QString &caption)
{
    switch (own()) {
    case Own::LineEdit:
        as<QLineEdit>()->setText(caption);
        return;
    case Own::PlainTextEdit:
        as<QPlainTextEdit>()->setPlainText(caption);
        return;
    case Own::PushButton:
        as<QPushButton>()->setText(caption);
        return;
    default:
        break;
    }
    if (caption != m_caption) {
        m_caption = caption;
        m_captionPicture = QPixmap();
        if (m_def.kind == Kind::Label)
            repaint();
        accessible::changed(*this, QAccessible::NameChanged);
    }
}

bool Control::isVisible() const
{
    return m_widget ? !m_widget->isHidden() : m_visible;
}

void Control::setVisible(bool visible)
{
    if (m_widget) {
        m_widget->setVisible(visible);
    } else if (visible != m_visible) {
        m_visible = visible;
        repaint();
        accessible::changed(*this, QAccessible::StateChanged);
    }
}

void Control::setEnabled(bool enabled)
{
    if (m_widget) {
        m_enabled = enabled;
        m_widget->setEnabled(enabled);
    } else if (enabled != m_enabled) {
        m_enabled = enabled;
        if (m_def.kind == Kind::Label)
            repaint(); // drawn greyed while disabled
        accessible::changed(*this, QAccessible::StateChanged);
    }
}

QColor Control::foreColor() const
{
    if (!m_widget)
        return m_fore;
    return m_widget->palette().color(QPalette::Active, m_widget->foregroundRole());
}

void Control::setForeColor(const QColor &colour)
{
    if (!m_widget) {
        if (colour != m_fore) {
            m_fore = colour;
            m_captionPicture = QPixmap();
            repaint();
        }
        return;
    }
    QPalette palette = m_widget->palette();
    palette.setColor(QPalette::Active, m_widget->foregroundRole(), colour);
    palette.setColor(QPalette::Inactive, m_widget->foregroundRole(), colour);
    m_widget->setPalette(palette);
}

void Control::setLeft(int twips)
{
    setRect({twips, m_rect.top, m_rect.width, m_rect.height});
}

void Control::setTop(int twips)
{
    setRect({m_rect.left, twips, m_rect.width, m_rect.height});
}

void Control::setWidth(int twips)
{
    setRect({m_rect.left, m_rect.top, twips, m_rect.height});
}

void Control::setHeight(int twips)
{
    setRect({m_rect.left, m_rect.top, m_rect.width, twips});
}

QRect Control::pixelGeometry(const Rect &twips) const
{
    if (m_def.kind != Kind::Line)
        return pixelRect(twips, m_zoom);
    const QLine line = lineOf(twips, m_zoom);
    const int width = lineWidth(m_zoom);
    return QRect(line.p1(), line.p2()).normalized().adjusted(0, 0, width - 1, width - 1);
}

void Control::setZoom(qreal zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    m_geometry = pixelGeometry(m_rect);
    m_picture = QPixmap();
    m_captionPicture = QPixmap();
    switch (own()) {
    case Own::None:
        return;
    case Own::PictureBox:
        as<PictureWidget>()->setZoom(zoom);
        break;
    case Own::PushButton:
        if (m_def.picture) {
            auto *button = as<QPushButton>();
            const QPixmap pixmap = artwork::picture(QString::fromLatin1(m_def.picture),
                                                    button->devicePixelRatioF(), zoom);
            button->setIcon(QIcon(pixmap));
            button->setIconSize(pixmap.deviceIndependentSize().toSize());
        }
        m_widget->setFont(shownFont());
        break;
    default:
        m_widget->setFont(shownFont());
        break;
    }
    m_widget->setGeometry(m_geometry);
}

void Control::setRect(const Rect &twips)
{
    if (m_def.kind == Kind::Line)
        return;
    m_rect = twips;
    const QRect geometry = pixelGeometry(twips);
    if (geometry == m_geometry)
        return;
    if (m_widget) {
        m_geometry = geometry;
        m_widget->setGeometry(geometry);
        return;
    }
    repaint();
    if (geometry.size() != m_geometry.size())
        m_captionPicture = QPixmap();
    m_geometry = geometry;
    repaint();
}

void Control::setPicture(const QString &name)
{
    if (name == m_pictureName)
        return;
    m_pictureName = name;
    m_picture = QPixmap();
    if (own() == Own::PictureBox)
        as<PictureWidget>()->setPicture(name);
    else if (!m_widget)
        repaint();
}

void Control::setFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    if (m_widget) {
        m_widget->setFont(shownFont());
    } else {
        m_captionPicture = QPixmap();
        repaint();
    }
}

bool Control::fits(const QString &text) const
{
    const QFont shown = shownFont();
    const QFontMetrics metrics(shown);
    if (own() == Own::LineEdit) {
        const auto *edit = as<QLineEdit>();
        // The field's frame and the two pixels the field keeps free on each side of its text.
        const int frame =
            edit->hasFrame()
                ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit)
                : 0;
        const QMargins margins = edit->textMargins();
        const int room = edit->width() - 2 * frame - 4 - margins.left() - margins.right();
        return metrics.horizontalAdvance(text) <= room;
    }
    const QRect box(QPoint(), m_geometry.size());
    const QRect used =
        metrics.boundingRect(box, textFlags(m_def.align), breakBlankRuns(text, shown, box.width()));
    return used.width() <= box.width() && used.height() <= box.height();
}

void Control::shrinkToFit()
{
    // Below 6 pixels (at 100 %) a text is no longer read: it is drawn cut instead.
    constexpr int SmallestPixels = 6;
    QFont f = toFont(m_def.font);
    setFont(f);
    const QString text = caption();
    while (!fits(text) && f.pixelSize() > SmallestPixels) {
        f.setPixelSize(f.pixelSize() - 1);
        setFont(f);
    }
    if (own() == Own::LineEdit)
        as<QLineEdit>()->setCursorPosition(0);
}

void Control::setFocus()
{
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
}

bool Control::hasFocus() const
{
    return m_widget && m_widget->hasFocus();
}

void Control::repaint() const
{
    if (m_container)
        m_container->update(m_geometry);
}

void Control::paint(QPainter &painter) const
{
    // For print a picture is painted unclipped: a clip restored inside it would land off its
    // place on a page painted through QWidget::render at print scale.
    if (m_def.kind == Kind::Image && !m_pictureName.isEmpty() && paintsForPrint(painter)) {
        painter.translate(m_geometry.topLeft());
        artwork::paint(painter, m_pictureName);
        painter.translate(-m_geometry.topLeft());
        return;
    }
    // Each control stays inside its rectangle, as a window of its own would. Where the drawing
    // cannot leave the rectangle (a fill, a caption picture of the label's size, a line between
    // two corners) no clip is set: a window paints a hundred of them, and each clip costs time.
    switch (m_def.kind) {
    case Kind::Label: {
        if (!m_def.transparent)
            painter.fillRect(m_geometry, toColor(m_def.back));
        if (m_caption.isEmpty())
            break;
        const int flags = textFlags(m_def.align);
        const bool greyed = !m_enabled || !m_container->isEnabled();
        const QFont font = shownFont();
        if (!onScreen(painter)) {
            painter.setClipRect(m_geometry);
            painter.setFont(font);
            drawCaption(painter, m_geometry, flags,
                        breakBlankRuns(m_caption, font, m_geometry.width()), m_fore, greyed);
            painter.setClipping(false);
            break;
        }
        // The label keeps its own picture until its text, colour, size or look changes.
        const qreal dpr = painter.device()->devicePixelRatioF();
        if (m_captionPicture.isNull() || m_captionPicture.devicePixelRatio() != dpr ||
            m_captionGreyed != greyed) {
            m_captionPicture =
                captionPicture(dpr, breakBlankRuns(m_caption, font, m_geometry.width()), font,
                               m_fore, m_geometry.size(), flags, greyed);
            m_captionGreyed = greyed;
        }
        painter.drawPixmap(m_geometry.topLeft(), m_captionPicture);
        break;
    }
    case Kind::Image: {
        // Without a picture an image is a click area and draws nothing.
        if (m_pictureName.isEmpty())
            break;
        if (m_picture.isNull() ||
            m_picture.devicePixelRatio() != painter.device()->devicePixelRatioF())
            m_picture =
                artwork::picture(m_pictureName, painter.device()->devicePixelRatioF(), m_zoom);
        const QSize size = m_picture.deviceIndependentSize().toSize();
        const bool fits =
            size.width() <= m_geometry.width() && size.height() <= m_geometry.height();
        if (!fits)
            painter.setClipRect(m_geometry);
        painter.drawPixmap(m_geometry.topLeft(), m_picture);
        if (!fits)
            painter.setClipping(false);
        break;
    }
    case Kind::Shape: {
        // The circle marker, filled with its back colour and outlined in its fore colour.
        painter.setClipRect(m_geometry);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal pen = lineWidth(m_zoom);
        painter.setPen(QPen(toColor(m_def.fore), pen));
        painter.setBrush(toColor(m_def.back));
        painter.drawEllipse(QRectF(m_geometry).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setBrush(Qt::NoBrush);
        painter.setClipping(false);
        break;
    }
    case Kind::Line: {
        // On the screen a level or upright line is the one-pixel rectangle it covers, which is
        // filled faster than a line is drawn; otherwise a cosmetic pen, one pixel wide whatever
        // the scale, and drawn without the stroker.
        const QLine line = lineOf(m_def.rect, m_zoom);
        if (onScreen(painter) && (line.dx() == 0 || line.dy() == 0)) {
            painter.fillRect(m_geometry, m_fore);
            break;
        }
        painter.setPen(QPen(m_fore, m_zoom == 1 ? 0 : lineWidth(m_zoom)));
        painter.drawLine(line);
        break;
    }
    default:
        break;
    }
}

bool Control::eventFilter(QObject *watched, QEvent *event)
{
    // A disabled control takes no clicks; the widget would drop them after this filter.
    if (watched != m_widget || (!m_widget->isEnabled() && event->type() != QEvent::FocusOut))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            m_pressed = true;
        break;
    }
    case QEvent::MouseButtonRelease: {
        // A click is a press and a release of the left button on the control; buttons report
        // their own clicks (also from the keyboard).
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const bool wasPressed = std::exchange(m_pressed, false);
        if (wasPressed && m_widget->rect().contains(mouse->position().toPoint()) &&
            own() != Own::PushButton)
            emit clicked();
        break;
    }
    case QEvent::FocusOut: {
        // Only a move to another control counts, not the switch to another program's window.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit lostFocus();
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace forms
