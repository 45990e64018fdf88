#include "forms/form.h"

#include "forms/accessible.h"
#include "forms/artwork/artwork.h"
#include "forms/keys.h"
#include "forms/widgets.h"
#include "forms/zoom.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace forms {
namespace {

Qt::WindowFlags flagsFor(WindowKind kind)
{
    const Qt::WindowFlags titled = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    switch (kind) {
    case WindowKind::Borderless:
        return Qt::Window | Qt::FramelessWindowHint;
    case WindowKind::Fixed:
        return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | titled;
    case WindowKind::DialogFrame:
        // A window of its own, not a dialog: window managers keep a dialog above the window that
        // owns it (or, without one, above every window of the program), so the report page would
        // cover the main window the user goes back to.
        return Qt::Window | Qt::MSWindowsFixedSizeDialogHint | titled;
    case WindowKind::ToolWindow:
        return Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | titled;
    case WindowKind::SizableToolWindow:
        return Qt::Tool | titled;
    }
    return Qt::Window;
}

QWidget *makeTextBox(const ControlDef &def, QWidget *parent)
{
    QWidget *widget = nullptr;
    if (def.multiLine) {
        auto *edit = new QPlainTextEdit(parent);
        edit->setPlainText(QString::fromUtf8(def.caption));
        if (!def.border)
            edit->setFrameShape(QFrame::NoFrame);
        edit->setTabChangesFocus(true);
        widget = edit;
    } else {
        auto *edit = new QLineEdit(QString::fromUtf8(def.caption), parent);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFrame(def.border);
        edit->setTextMargins(0, 0, 0, 0);
        widget = edit;
    }
    // White also while disabled: the field's caption label shows whether it is in use.
    QPalette palette = widget->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, Qt::white);
    palette.setColor(QPalette::Active, QPalette::Text, toColor(def.fore));
    palette.setColor(QPalette::Inactive, QPalette::Text, toColor(def.fore));
    widget->setPalette(palette);
    widget->setFocusPolicy(Qt::StrongFocus);
    return widget;
}

QWidget *makeButton(const ControlDef &def, QWidget *parent)
{
    auto *button = new QPushButton(QString::fromUtf8(def.caption), parent);
    if (def.picture) {
        const QPixmap pixmap =
            artwork::picture(QString::fromLatin1(def.picture), parent->devicePixelRatioF());
        button->setIcon(QIcon(pixmap));
        button->setIconSize(pixmap.deviceIndependentSize().toSize());
    }
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, toColor(def.back));
    palette.setColor(QPalette::ButtonText, toColor(def.fore));
    button->setPalette(palette);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

Form::Form(const FormDef &def, QWidget *parent)
    : Surface(parent, flagsFor(def.kind)), m_def(def), m_tag(QString::fromUtf8(def.tag))
{
    setWindowTitle(QString::fromUtf8(def.caption));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A window looks the same whether it is the active one or not: with equal palettes Qt does
    // not repaint the whole window each time another window of the program comes to the front.
    QPalette palette = this->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        palette.setBrush(QPalette::Inactive, r, palette.brush(QPalette::Active, r));
    }
    setPalette(palette);
    const QSize client(px(def.width), px(def.height));
    if (def.kind == WindowKind::SizableToolWindow)
        resize(client);
    else
        setFixedSize(client);

    m_controls.reserve(static_cast<qsizetype>(def.controls.size()));
    for (const ControlDef &c : def.controls)
        m_controls.append(build(c));

    // The keyboard focus visits the text fields and buttons, in the order given or listed.
    QList<QWidget *> chain;
    if (def.tabOrder.empty()) {
        for (Control *c : std::as_const(m_controls))
            if (c->widget() && c->widget()->focusPolicy() != Qt::NoFocus)
                chain.append(c->widget());
    } else {
        for (const char *name : def.tabOrder)
            chain.append(control(QString::fromLatin1(name))->widget());
        // The focus starts on the first named: the chain alone goes round in the right order
        // but may start elsewhere.
        chain.first()->setFocus();
    }
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);

    accessible::install();
    accessible::nameWidgets(*this);

    // The zoom keys act in every window and change the zoom of all of them.
    const auto zoomKey = [this](QList<QKeySequence> keys, int direction) {
        auto *action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, [this, direction] { zoomBy(direction); });
        addAction(action);
    };
    zoomKey({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, +1);
    zoomKey({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, -1);
    zoomKey({QKeySequence(Qt::CTRL | Qt::Key_0)}, 0);
    connect(&Zoom::instance(), &Zoom::changed, this, &Form::zoomChanged);
}

Form::~Form()
{
    stopHandlers();
}

void Form::stopHandlers()
{
    blockSignals(true);
    for (Control *c : std::as_const(m_controls))
        c->blockSignals(true);
}

QString Form::name() const
{
    return QString::fromLatin1(m_def.name);
}

Control *Form::findControl(const QString &name, int index) const
{
    const auto it = m_byName.find({name, index});
    return it == m_byName.end() ? nullptr : it->second;
}

Control *Form::control(const QString &name, int index) const
{
    Control *c = findControl(name, index);
    if (!c)
        qFatal("%s has no control %s(%d)", m_def.name, qPrintable(name), index);
    return c;
}

Control *Form::build(const ControlDef &def)
{
    Surface *container = this;
    if (def.container) {
        container = qobject_cast<Surface *>(control(QString::fromLatin1(def.container))->widget());
        if (!container)
            qFatal("%s: %s is not a frame", m_def.name, def.container);
    }

    QWidget *widget = nullptr;
    switch (def.kind) {
    case Kind::TextBox:
        widget = makeTextBox(def, container);
        break;
    case Kind::PictureBox:
        widget = new PictureWidget(def, container);
        break;
    case Kind::CommandButton:
        widget = makeButton(def, container);
        break;
    case Kind::Frame:
        widget = new FrameWidget(def, container);
        break;
    case Kind::Label:
    case Kind::Image:
    case Kind::Shape:
    case Kind::Line:
        break;
    }
    const QString name = QString::fromLatin1(def.name);
    auto *c = new Control(def, widget, container, this);
    m_byName.emplace(std::pair{name, def.index}, c);
    if (!widget) {
        container->addWindowless(c);
        return c;
    }

    widget->setGeometry(c->geometry());
    if (def.kind != Kind::PictureBox)
        widget->setFont(toFont(def.font));
    if (widget->focusPolicy() != Qt::StrongFocus)
        widget->setFocusPolicy(Qt::NoFocus);
    widget->setObjectName(def.index == NoIndex ? name
                                               : name + u'(' + QString::number(def.index) + u')');
    if (!def.visible)
        widget->hide();
    return c;
}

void Form::showWindow()
{
    // A window that is shown already comes to the front; a new one is shown in front. A window
    // about to appear runs its activation handler before it is first painted, so that it is
    // painted once as it will look rather than painted again right after; the handler runs once
    // more when the window has become the active one, and then changes nothing.
    if (!isVisible())
        emit activated();
    show();
    raise();
    activateWindow();
}

bool Form::dragsWindow() const
{
    return m_def.kind == WindowKind::Borderless;
}

void Form::paintBackground(QPainter &painter)
{
    // The back colour over the whole window, then the picture: under a display this is faster
    // than filling only the strips the picture leaves uncovered.
    painter.fillRect(rect(), toColor(m_def.back));
    if (m_def.picture && paintsForPrint(painter)) {
        artwork::paint(painter, QString::fromLatin1(m_def.picture));
    } else if (m_def.picture) {
        if (m_background.isNull() || m_background.devicePixelRatio() != devicePixelRatioF())
            m_background =
                artwork::picture(QString::fromLatin1(m_def.picture), devicePixelRatioF(), m_zoom);
        painter.drawPixmap(0, 0, m_background);
    }
}

void Form::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit activated();
}

void Form::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit unloaded();
}

void Form::prepare()
{
    place();
    create();
}

namespace {

// The top-left corner that puts the window's frame inside the area where it fits; a frame larger
// than the area keeps its top-left corner in it.
QPoint inside(QRect frame, const QRect &area)
{
    frame.moveLeft(qMax(area.left(), qMin(frame.left(), area.right() + 1 - frame.width())));
    frame.moveTop(qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - frame.height())));
    return frame.topLeft();
}

} // namespace

QSize Form::unzoomedSize() const
{
    return QSize(px(m_def.width), px(m_def.height));
}

QSize Form::frameAllowance() const
{
    if (m_def.kind == WindowKind::Borderless)
        return {};
    const QSize frame = frameGeometry().size() - size();
    // Before the window manager has framed the window, room for a title bar and thin borders.
    return frame.isEmpty() ? QSize(8, 32) : frame;
}

qreal Form::fittingZoom(const QRect &area) const
{
    const Zoom &zoom = Zoom::instance();
    if (!zoom.fitsScreen() || area.isEmpty())
        return zoom.percent() / 100.0;
    const QSize frame = frameAllowance();
    int fitting = ZoomSteps[0];
    for (int step : ZoomSteps) {
        const QSize needed =
            QSize(px(m_def.width, step / 100.0), px(m_def.height, step / 100.0)) + frame;
        if (step <= zoom.percent() && needed.width() <= area.width() &&
            needed.height() <= area.height())
            fitting = step;
    }
    return fitting / 100.0;
}

// Placed before the window is first created: under a display, moving a window that exists
// already costs noticeably more. The first time, and each time it is shown again for a
// screen-size window, which stands over the window it is opened from (that may have been
// dragged since): centred over that window, or else in the free area of the screen (the panels
// left out), and moved inside that area. The zoom is chosen each time it is shown.
void Form::place()
{
    const QWidget *from = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    if (from == this || (from && !from->isVisible()))
        from = nullptr;
    QScreen *s = from ? from->screen() : screen();
    const QRect area = s ? s->availableGeometry() : QRect();
    setZoom(fittingZoom(area));
    const bool overOpener = from && m_def.kind == WindowKind::Borderless;
    if (!s || (m_placed && !overOpener))
        return;
    m_placed = true;
    QRect client = rect();
    client.moveCenter(overOpener ? from->geometry().center() : area.center());
    move(inside(QRect(client.topLeft(), size() + frameAllowance()), area));
}

void Form::setZoom(qreal zoom)
{
    if (zoom == m_zoom)
        return;
    layOut(zoom);
    const QSize client(px(m_def.width, zoom), px(m_def.height, zoom));
    if (m_def.kind == WindowKind::SizableToolWindow)
        resize(client);
    else
        setFixedSize(client);
    update();
}

void Form::layOut(qreal zoom)
{
    if (zoom != m_zoom)
        m_background = QPixmap();
    m_zoom = zoom;
    for (Control *c : std::as_const(m_controls))
        c->setZoom(zoom);
    const auto stops = findChildren<FocusStop *>();
    for (FocusStop *stop : stops)
        stop->setGeometry(stop->control()->geometry());
}

void Form::zoomBy(int direction)
{
    Zoom::instance().setPercent(direction == 0 ? NoZoom
                                               : nextZoomStep(qRound(m_zoom * 100), direction));
}

// A window on the screen takes the new zoom at once and stays inside the free area where it
// fits; a hidden one takes it when it is shown.
void Form::zoomChanged(int percent)
{
    if (!isVisible())
        return;
    setZoom(percent / 100.0);
    if (const QScreen *s = screen())
        move(inside(QRect(pos(), size() + frameAllowance()), s->availableGeometry()));
}

void Form::setVisible(bool visible)
{
    if (visible && !isVisible())
        place();
    QWidget::setVisible(visible);
}

} // namespace forms
