#pragma once

// Window definitions and their runtime.
//
//   definition.h   a window as data: properties and controls (twips, colours, fonts, tags)
//   form1.cpp ...  the definitions, one file per window; definitions.h names them
//   names.h        generated at build time (names/formnames.cpp): every control's name as a
//                  constant, one namespace per window; controlname.h their types
//   form.h         Form builds a window from its definition and hands out its controls
//   control.h      the operations and events of one control
//   widgets.h      the widgets; windows and frames draw the windowless controls
//   keys.h         shortcuts and Tab for the windowless commands, with their focus mark
//   zoom.h         the zoom of every window, its steps and whether a window fits its screen
//   accessible.h   what screen readers see of the windows and their windowless controls
//   platform.h     message boxes, exit and the program's folder, replaced by tests
//   printer.h      the printer's side of printing: the module kiila-printer, loaded on first print
//   moduleimage.h  the check of that module before it is loaded (digest/: its digest at build)
//
// A window's logic derives from Form, looks up its controls by the constants generated from
// its definition (control(names::Form1::Picture1, 7)) and connects their
// events to its handlers.

#include "forms/control.h"
#include "forms/controlname.h"
#include "forms/definition.h"
#include "forms/widgets.h"

#include <QList>
#include <QPixmap>
#include <QWidget>
#include <map>
#include <utility>

namespace forms {

class Form : public Surface
{
    Q_OBJECT
public:
    explicit Form(const FormDef &def, QWidget *parent = nullptr);
    ~Form() override;

    const FormDef &definition() const { return m_def; }
    QString name() const;

    // The control of that name and index; a name the definition does not have is a fault of
    // the program and stops it. The program's logic names controls by the generated constants,
    // which the compiler checks; a string literal does not compile. A name as a QString is for
    // what reads a window from outside (tests, the accessibility table) and for names made from
    // a table (Text1 ... Text9 of the inputs), whose tests walk the table.
    Control *control(ControlName name) const { return control(QLatin1String(name.name)); }
    Control *control(ControlArrayName name, int index) const
    {
        return control(QLatin1String(name.name), index);
    }
    Control *control(const QString &name, int index = NoIndex) const;
    Control *control(const char *name, int index = NoIndex) const = delete;
    Control *findControl(const QString &name, int index = NoIndex) const;
    // Every control, lowest first.
    const QList<Control *> &controls() const { return m_controls; }

    QString caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }
    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // Non-modal show: shows the window (the first time centred in the free area of the screen;
    // a screen-size window over the window it is opened from, each time), brings it to the front
    // and activates it. A hidden window's activated() is also emitted before it is shown.
    void showWindow();
    // Places a hidden window and creates its window on the display, so that showing it later
    // only has to put it on the screen.
    void prepare();

    void setVisible(bool visible) override;

    // The zoom the window is drawn at (1 for 100 %): the zoom the user chose (forms::Zoom), or
    // the largest step below it at which the window fits the free area of its screen.
    qreal zoom() const { return m_zoom; }
    // Draws the window at the zoom: its size, and every control laid out anew.
    void setZoom(qreal zoom);
    // Lays the controls out at the zoom and leaves the window's size: printing lays a window out
    // at 100 % for the page and back.
    void layOut(qreal zoom);
    // The zoom keys: the step after the window's zoom in the direction (+1 larger, -1 smaller)
    // becomes the zoom of every window; 0 is 100 %.
    void zoomBy(int direction);
    // The size of the client area at 100 %.
    QSize unzoomedSize() const;

signals:
    void activated(); // the window became the active window
    void unloaded();  // the window was closed

protected:
    // From here on neither the window nor its controls emit their events, so that no handler
    // runs on a window being destroyed (destroying the widgets moves the keyboard focus out of a
    // field). The destructor calls it; a window whose own destructor does more calls it first.
    void stopHandlers();

    void paintBackground(QPainter &painter) override;
    // A window without the desktop's frame is moved by a drag on its background.
    bool dragsWindow() const override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Control *build(const ControlDef &def);
    void place();
    // The zoom the user chose, or the largest step below it at which the window fits the area.
    qreal fittingZoom(const QRect &area) const;
    // The frame the window manager puts around the client area, or a guess before it has.
    QSize frameAllowance() const;
    void zoomChanged(int percent);

    const FormDef &m_def;
    QString m_tag;
    QList<Control *> m_controls;
    std::map<std::pair<QString, int>, Control *> m_byName;
    QPixmap m_background;
    bool m_placed = false;
    qreal m_zoom = 1;
};

} // namespace forms
