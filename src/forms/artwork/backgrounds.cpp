#include "forms/artwork/painting.h"

#include "forms/definitions.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

#include <string_view>

// The frame shared by the three screen-size windows, and what each window draws inside it.
// What lies under a control is drawn where the window's definition places that control: the
// check boxes centre on the ShpSit markers, the input boxes frame the text fields that have no
// frame of their own, the option buttons centre on the Shape1 markers and the pill lies under
// ImgCalc. The tabs and flags are the frame's own drawing: their click areas lie over them
// without framing them exactly.

namespace artwork::detail {

QFont sansFont(qreal pixelSize, bool bold, bool italic)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void arrowHead(QPainter &p, QPointF tip, QPointF direction, qreal length, qreal halfWidth)
{
    const QPointF n(-direction.y(), direction.x());
    QPolygonF head;
    head << tip << tip - direction * length + n * halfWidth
         << tip - direction * length - n * halfWidth;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(head);
}

void drawIndexed(QPainter &p, qreal centreX, qreal baseline, const QString &main,
                 const QString &index, qreal pixelSize, const QColor &colour)
{
    const QFont mainFont = sansFont(pixelSize);
    const QFont indexFont = sansFont(pixelSize * 0.7);
    const qreal mainWidth = QFontMetricsF(mainFont).horizontalAdvance(main);
    const qreal indexWidth = QFontMetricsF(indexFont).horizontalAdvance(index);
    const qreal left = centreX - (mainWidth + indexWidth) / 2;
    p.save();
    p.setPen(colour);
    p.setFont(mainFont);
    p.drawText(QPointF(left, baseline), main);
    p.setFont(indexFont);
    p.drawText(QPointF(left + mainWidth + 0.5, baseline + pixelSize * 0.25), index);
    p.restore();
}

namespace {

struct Tab
{
    qreal left;  // lower left corner
    qreal width; // from the lower left to the upper right corner
    qreal textCentre;
    QString finnish;
    QString english;
    bool printer;
};

constexpr qreal TabTop = 8;
constexpr qreal TabBottom = 48;
constexpr qreal TabSlant = 20;

QList<Tab> tabsOf(Window window)
{
    switch (window) {
    case Window::Form1:
        return {{475, 145, 547.5, "info", "info", false},
                {600, 145, 672.5, "lopeta", "exit", false},
                {725, 145, 797.5, "tulosta", "print", true},
                {850, 155, 927.5, "ohje", "HELP", false}};
    case Window::Form2:
        return {{598, 145, 670.5, "lopeta", "back", false},
                {723, 145, 795.5, "tulosta", "print", true},
                {848, 150, 923, "ohje", "HELP", false}};
    case Window::Form3:
        return {{575, 425, 773, "takaisin", "back", false}};
    }
    return {};
}

// The inside of the frame: white, its top left corner rounded, the right band bending in at
// the top and bottom right, the bottom band stepping down at about x 440 to 470.
QPainterPath whiteArea()
{
    QPainterPath path;
    path.moveTo(20, 750);
    path.lineTo(20, 82);
    path.quadTo(20, 50, 52, 50);
    path.lineTo(950, 50);
    path.quadTo(975, 50, 975, 75);
    path.lineTo(975, 697);
    path.quadTo(975, 722, 950, 722);
    path.lineTo(470, 722);
    path.lineTo(440, 750);
    path.closeSubpath();
    return path;
}

void paintFrame(QPainter &p)
{
    QPainterPath frame;
    frame.addRect(QRectF(0, 0, 1024, 768));
    frame = frame.subtracted(whiteArea());
    QLinearGradient body(0, 0, 0, 768);
    body.setColorAt(0, QColor(44, 68, 112));
    body.setColorAt(0.07, QColor(26, 46, 82));
    body.setColorAt(0.5, Navy);
    body.setColorAt(0.94, QColor(26, 46, 82));
    body.setColorAt(1, QColor(40, 62, 104));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(frame);

    // Gloss on the top band and a light stripe down the right band.
    QLinearGradient gloss(0, 0, 0, 26);
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 8));
    p.fillRect(QRectF(0, 0, 1024, 26), gloss);
    QLinearGradient stripe(975, 0, 1024, 0);
    stripe.setColorAt(0, QColor(255, 255, 255, 0));
    stripe.setColorAt(0.45, QColor(255, 255, 255, 38));
    stripe.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(975, 50, 49, 690), stripe);
    QLinearGradient bottomGloss(0, 722, 0, 768);
    bottomGloss.setColorAt(0, QColor(255, 255, 255, 0));
    bottomGloss.setColorAt(0.6, QColor(255, 255, 255, 26));
    bottomGloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(bottomGloss);
    p.drawPath(frame.intersected([] {
        QPainterPath band;
        band.addRect(QRectF(0, 722, 1024, 46));
        return band;
    }()));

    // A light rim where the frame meets the white area.
    p.setPen(QPen(QColor(140, 166, 210), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(whiteArea());
}

void paintMakerName(QPainter &p)
{
    QFont font = sansFont(38, true, true);
    const QString name = QStringLiteral("KALVEX");
    const qreal width = QFontMetricsF(font).horizontalAdvance(name);
    font.setStretch(qRound(100 * 198 / width));
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QPointF(80, 40), name);
}

void paintBritishFlag(QPainter &p, const QRectF &r)
{
    p.save();
    p.setClipRect(r);
    p.fillRect(r, QColor(1, 33, 105));
    p.setPen(QPen(Qt::white, 5));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.bottomLeft(), r.topRight());
    p.setPen(QPen(QColor(200, 16, 46), 1.6));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.bottomLeft(), r.topRight());
    p.fillRect(QRectF(r.center().x() - 4, r.top(), 8, r.height()), Qt::white);
    p.fillRect(QRectF(r.left(), r.center().y() - 4, r.width(), 8), Qt::white);
    p.fillRect(QRectF(r.center().x() - 2.25, r.top(), 4.5, r.height()), QColor(200, 16, 46));
    p.fillRect(QRectF(r.left(), r.center().y() - 2.25, r.width(), 4.5), QColor(200, 16, 46));
    p.restore();
    p.setPen(QPen(QColor(10, 20, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

void paintFinnishFlag(QPainter &p, const QRectF &r)
{
    const QColor blue(0, 47, 108);
    p.fillRect(r, Qt::white);
    p.fillRect(QRectF(r.left() + r.width() * 5 / 18, r.top(), r.width() * 3 / 18, r.height()),
               blue);
    p.fillRect(QRectF(r.left(), r.top() + r.height() * 4 / 11, r.width(), r.height() * 3 / 11),
               blue);
    p.setPen(QPen(QColor(10, 20, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

// A small printer in light blue, 16 x 13.
void paintPrinter(QPainter &p, QPointF topLeft)
{
    const QColor blue(150, 196, 246);
    p.save();
    p.translate(topLeft);
    p.setPen(QPen(blue, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 0.5, 8, 4));
    p.setBrush(blue);
    p.drawRoundedRect(QRectF(0.5, 4.5, 15, 5.5), 1.5, 1.5);
    p.setBrush(QColor(230, 240, 255));
    p.drawRect(QRectF(3.5, 8, 9, 4.5));
    p.restore();
}

void paintTab(QPainter &p, const Tab &tab, TabWords words)
{
    QPolygonF shape;
    shape << QPointF(tab.left, TabBottom) << QPointF(tab.left + TabSlant, TabTop)
          << QPointF(tab.left + tab.width, TabTop)
          << QPointF(tab.left + tab.width - TabSlant, TabBottom);
    QLinearGradient fill(0, TabTop, 0, TabBottom);
    fill.setColorAt(0, QColor(92, 122, 172));
    fill.setColorAt(0.45, QColor(42, 68, 116));
    fill.setColorAt(1, QColor(20, 36, 68));
    p.setPen(QPen(QColor(10, 20, 42), 1));
    p.setBrush(fill);
    p.drawPolygon(shape);
    p.setPen(QPen(QColor(190, 210, 240), 1.5));
    p.drawLine(QPointF(tab.left + TabSlant + 1, TabTop + 1),
               QPointF(tab.left + tab.width - 1, TabTop + 1));

    const QString word = words == TabWords::Finnish ? tab.finnish : tab.english;
    const bool upper = word == word.toUpper();
    const QFont font = sansFont(upper ? 16 : 17, true);
    const qreal width = QFontMetricsF(font).horizontalAdvance(word);
    const qreal total = width + (tab.printer ? 22 : 0);
    const qreal left = tab.textCentre - total / 2;
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QPointF(left, 34), word);
    if (tab.printer)
        paintPrinter(p, QPointF(left + width + 6, 19));
}

// A soft orange rendering of a wedge anchor with washer and nut, in the right part of the white
// area, fading into the white towards the left. Painted before the frame, which covers what
// falls outside the white area.
void paintPhoto(QPainter &p)
{
    const QRectF area(470, 50, 505, 672);
    QLinearGradient tone(470, 0, 975, 0);
    tone.setColorAt(0, Qt::white);
    tone.setColorAt(0.3, QColor(254, 240, 226));
    tone.setColorAt(0.75, QColor(250, 196, 140));
    tone.setColorAt(1, QColor(244, 168, 96));
    p.fillRect(area, tone);

    p.save();
    p.setClipRect(area);
    p.translate(830, 430);
    p.rotate(-58);
    // Local x runs along the anchor, from the cone (negative) to the threaded end.
    const auto cylinder = [&p](qreal x0, qreal x1, qreal r0, qreal r1, QColor mid) {
        QLinearGradient shade(0, -qMax(r0, r1), 0, qMax(r0, r1));
        shade.setColorAt(0, mid.darker(150));
        shade.setColorAt(0.28, mid.lighter(135));
        shade.setColorAt(0.5, mid);
        shade.setColorAt(1, mid.darker(170));
        QPolygonF outline;
        outline << QPointF(x0, -r0) << QPointF(x1, -r1) << QPointF(x1, r1) << QPointF(x0, r0);
        p.setBrush(shade);
        p.drawPolygon(outline);
    };
    // A glow around the anchor, for the soft focus.
    p.save();
    p.translate(-40, 0);
    p.scale(5.2, 1);
    QRadialGradient glow(QPointF(0, 0), 70);
    glow.setColorAt(0, QColor(240, 130, 50, 100));
    glow.setColorAt(1, QColor(240, 130, 50, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(0, 0), 70, 70);
    p.restore();
    p.setPen(Qt::NoPen);
    const QColor orange(236, 146, 70);
    cylinder(-380, -330, 33, 23, orange);               // cone
    cylinder(-330, 300, 23, 23, orange);                // bolt
    cylinder(-336, -250, 28, 28, QColor(228, 160, 96)); // expansion clip
    p.setPen(QPen(QColor(176, 92, 40, 150), 2));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(-330, -14 + i * 14), QPointF(-270, -14 + i * 14));
    p.setPen(QPen(QColor(180, 96, 40, 120), 3));
    for (qreal x = 130; x < 296; x += 9)
        p.drawLine(QPointF(x, -23), QPointF(x + 5, 23));
    p.setPen(Qt::NoPen);
    cylinder(48, 60, 62, 62, QColor(242, 170, 104)); // washer
    cylinder(60, 118, 46, 46, QColor(226, 132, 60)); // nut
    p.setPen(QPen(QColor(170, 84, 34, 140), 2));
    p.drawLine(QPointF(60, -20), QPointF(118, -20));
    p.drawLine(QPointF(60, 20), QPointF(118, 20));
    p.restore();

    // Fade the anchor's lower end into the white towards the left.
    QLinearGradient fade(470, 0, 720, 0);
    fade.setColorAt(0, QColor(255, 255, 255, 255));
    fade.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(470, 50, 250, 672), fade);
}

// A white box with a sunken bevelled border, in whole pixels so it stays crisp.
void paintSunkenBox(QPainter &p, const QRect &r)
{
    p.fillRect(r, Qt::white);
    const QColor outerDark(160, 160, 160), outerLight(236, 236, 236);
    const QColor innerDark(48, 48, 48), innerLight(206, 206, 206);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), outerDark);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), outerDark);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), outerLight);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), outerLight);
    p.fillRect(QRect(r.left() + 1, r.top() + 1, r.width() - 2, 1), innerDark);
    p.fillRect(QRect(r.left() + 1, r.top() + 1, 1, r.height() - 2), innerDark);
    p.fillRect(QRect(r.left() + 1, r.bottom() - 1, r.width() - 2, 1), innerLight);
    p.fillRect(QRect(r.right() - 1, r.top() + 1, 1, r.height() - 2), innerLight);
}

void paintOptionButton(QPainter &p, QPointF centre)
{
    QRadialGradient shadow(centre + QPointF(2, 3), 25);
    shadow.setColorAt(0.7, QColor(0, 0, 0, 70));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(centre + QPointF(2, 3), 25, 25);
    QLinearGradient face(0, centre.y() - 19, 0, centre.y() + 19);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(226, 233, 244));
    p.setPen(QPen(QColor(58, 94, 166), 2));
    p.setBrush(face);
    p.drawEllipse(centre, 18, 18);
}

void paintRoundedBox(QPainter &p, const QRectF &r, qreal radius, const QColor &fill,
                     const QColor &outline, qreal outlineWidth)
{
    p.setPen(QPen(outline, outlineWidth));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

// Calls `paint` with the client rectangle of every control of that name, in the order listed.
template <typename Paint>
void forEachControl(const forms::FormDef &form, std::string_view name, Paint paint)
{
    for (const forms::ControlDef &c : form.controls)
        if (name == c.name)
            paint(clientRect(form, c));
}

void paintForm1Inside(QPainter &p, const forms::FormDef &form)
{
    // The light bar under the logo that carries the window's title.
    const QRectF bar(20, 52, 435, 43);
    QLinearGradient barFill(0, bar.top(), 0, bar.bottom());
    barFill.setColorAt(0, QColor(238, 240, 244));
    barFill.setColorAt(1, QColor(206, 211, 219));
    p.setPen(Qt::NoPen);
    p.setBrush(barFill);
    p.drawRoundedRect(bar, 12, 12);
    p.save();
    QPainterPath barPath;
    barPath.addRoundedRect(bar, 12, 12);
    p.setClipPath(barPath);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    for (qreal x = bar.left() - 50; x < bar.right(); x += 7)
        p.drawLine(QPointF(x, bar.bottom()), QPointF(x + 43, bar.top()));
    p.restore();
    p.setPen(QPen(QColor(172, 178, 190), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(bar, 12, 12);

    // Left panel with the check boxes of the arrangements, 28 pixels square around the markers.
    paintRoundedBox(p, QRectF(44, 116, 394, 147), 14, Qt::white, QColor(40, 70, 142), 2);
    forEachControl(form, "ShpSit", [&p](const QRect &dot) {
        paintSunkenBox(p, QRect(dot.center() - QPoint(14, 14), QSize(28, 28)));
    });

    // Results box with its column headings over the value labels of M8..M16.
    paintRoundedBox(p, QRectF(47, 581, 392, 124), 12, QColor(254, 229, 207), Navy, 2);
    p.setFont(sansFont(15, true));
    p.setPen(QColor(0, 0, 128));
    const qreal headings[] = {262, 304, 350, 397};
    const char *sizes[] = {"M8", "M10", "M12", "M16"};
    for (int i = 0; i < 4; ++i)
        p.drawText(QPointF(headings[i], 611), QString::fromLatin1(sizes[i]));

    // Right panel: translucent white over the photograph.
    paintRoundedBox(p, QRectF(523, 70, 392, 628), 16, QColor(255, 255, 255, 190),
                    QColor(80, 106, 155), 1.2);
    // An input box around each text field without a frame of its own: 6 pixels beside the
    // field, 5 above and below it.
    for (const forms::ControlDef &c : form.controls)
        if (c.kind == forms::Kind::TextBox && !c.border)
            paintSunkenBox(p, clientRect(form, c).adjusted(-6, -5, 6, 5));
    // The option buttons lie around the concrete state's markers; each button's centre is half
    // a pixel right of and above its marker's, as the buttons were first drawn.
    forEachControl(form, "Shape1", [&p](const QRect &dot) {
        paintOptionButton(p, QRectF(dot).center() + QPointF(0.5, -0.5));
    });
    // The calculate pill, inside ImgCalc's click area.
    forEachControl(form, "ImgCalc", [&p](const QRect &area) {
        paintPill(p, QRectF(area.left() + 1, area.top() + 3, 176, 39));
    });
}

void paintPanelWindowInside(QPainter &p)
{
    const QRectF panel(90, 108, 843, 527);
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 10));
        p.drawRoundedRect(panel.translated(2, 3).adjusted(-i, -i, i, i), 18 + i, 18 + i);
    }
    // The panel is plain white inside its frame.
    paintRoundedBox(p, panel, 18, Qt::white, QColor(70, 70, 70), 1);
}

} // namespace

QRect clientRect(const forms::FormDef &form, const forms::ControlDef &control)
{
    QRect rect(forms::px(control.rect.left), forms::px(control.rect.top),
               forms::px(control.rect.width), forms::px(control.rect.height));
    if (control.container)
        if (const forms::ControlDef *frame = forms::findControl(form, control.container))
            rect.translate(forms::px(frame->rect.left), forms::px(frame->rect.top));
    return rect;
}

void paintPill(QPainter &p, const QRectF &rect)
{
    const qreal radius = rect.height() / 2;
    QLinearGradient fill(0, rect.top(), 0, rect.bottom());
    fill.setColorAt(0, QColor(150, 174, 214));
    fill.setColorAt(0.5, QColor(96, 124, 171));
    fill.setColorAt(1, QColor(63, 85, 122));
    p.setPen(QPen(QColor(44, 62, 98), 1));
    p.setBrush(fill);
    p.drawRoundedRect(rect, radius, radius);
    const QRectF shine = rect.adjusted(radius * 0.5, 2, -radius * 0.5, -rect.height() * 0.5);
    QLinearGradient gloss(0, shine.top(), 0, shine.bottom());
    gloss.setColorAt(0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1, QColor(255, 255, 255, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(shine, shine.height() / 2, shine.height() / 2);
}

void paintBackground(QPainter &p, Window window, TabWords words, const forms::FormDef &form)
{
    paintPhoto(p);
    paintFrame(p);
    paintEmblem(p);
    paintMakerName(p);
    for (const Tab &tab : tabsOf(window))
        paintTab(p, tab, words);
    if (window == Window::Form1) {
        paintBritishFlag(p, QRectF(355, 14, 33, 24));
        paintFinnishFlag(p, QRectF(402, 14, 33, 24));
        paintForm1Inside(p, form);
    } else {
        paintPanelWindowInside(p);
    }
}

void paintResultsPanel(QPainter &p)
{
    paintRoundedBox(p, QRectF(25, 5, 360, 190), 14, Qt::white, Navy, 2);
}

void paintBluePill(QPainter &p)
{
    paintPill(p, QRectF(6, 8, 176, 40));
}

// Only the word: the button it lies on draws its face, as for the No button beside it.
void paintYesButton(QPainter &p)
{
    p.setFont(sansFont(12, true));
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 0, 95, 27), Qt::AlignCenter, QStringLiteral("Kyll\u00e4"));
}

} // namespace artwork::detail
