#pragma once

#include "forms/definition.h"
#include "forms/widgets.h"

#include <QColor>
#include <QFont>
#include <QMetaMethod>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace forms {

// One control of a window, as the window logic sees it: the operations on its properties and
// its events. The runtime makes it from the definition, with a widget of its own or, for a
// label, image, shape or line, windowless: drawn by its container (widgets.h).
class Control : public QObject
{
    Q_OBJECT
public:
    // widget: the control's own widget, or nullptr for a windowless control.
    Control(const ControlDef &def, QWidget *widget, QWidget *container, QObject *parent);

    const ControlDef &definition() const { return m_def; }
    QString name() const;
    int index() const { return m_def.index; }
    Kind kind() const { return m_def.kind; }
    // The control's own widget; nullptr when it is windowless.
    QWidget *widget() const { return m_widget; }
    // The window or frame the control lies in.
    QWidget *container() const { return m_container; }
    // The rectangle in pixels, in the container, at the window's zoom.
    QRect geometry() const { return m_geometry; }
    // Lays the control out at the zoom factor (1 for 100 %): its rectangle, its font and its
    // pictures. Its window sets it.
    void setZoom(qreal zoom);
    qreal zoom() const { return m_zoom; }

    // Labels, buttons and frames have a caption; text fields have a text. Both name the
    // characters shown.
    QString caption() const;
    void setCaption(const QString &caption);
    QString text() const { return caption(); }
    void setText(const QString &text) { setCaption(text); }

    // The control's own flags, whatever the window's state.
    bool isVisible() const;
    void setVisible(bool visible);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    QColor foreColor() const;
    void setForeColor(const QColor &colour);

    // Place and size in twips; a line keeps its ends.
    int left() const { return m_rect.left; }
    int top() const { return m_rect.top; }
    int width() const { return m_rect.width; }
    int height() const { return m_rect.height; }
    void setLeft(int twips);
    void setTop(int twips);
    void setWidth(int twips);
    void setHeight(int twips);

    // The artwork name of an image's or picture box's picture; empty: none.
    QString picture() const { return m_pictureName; }
    void setPicture(const QString &name);

    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // The font the control draws its text with at 100 %; the definition's until set. The window
    // shows it at its zoom.
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    // Whether the text shows whole in the control's rectangle in its font as shown: wrapped at
    // word breaks in a label, on one line in a single-line text field.
    bool fits(const QString &text) const;
    // The definition's font, or the largest smaller size in which the caption shows whole.
    void shrinkToFit();

    // The font's character set: kept with the control, the glyphs come from the font family.
    int charset() const { return m_charset; }
    void setCharset(int charset) { m_charset = charset; }

    // Windowless controls take no focus.
    void setFocus();
    bool hasFocus() const;

    // Whether a handler takes the control's clicks.
    bool takesClicks() const
    {
        return isSignalConnected(QMetaMethod::fromSignal(&Control::clicked));
    }

    // Draws a windowless control; its container calls this.
    void paint(QPainter &painter) const;

signals:
    void clicked();
    void changed();       // a text field's text changed, typed or set by the program
    void lostFocus();     // the keyboard focus moved to another control of the program
    void returnPressed(); // Enter in a single-line text field

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the control's own widget is, known from the definition when the runtime makes it:
    // every operation on the widget switches on this.
    enum class Own : std::uint8_t { None, LineEdit, PlainTextEdit, PushButton, PictureBox, Frame };
    // None also once the widget is gone.
    Own own() const { return m_widget ? m_own : Own::None; }
    // The widget as what own() says it is.
    template <typename Widget> Widget *as() const { return static_cast<Widget *>(m_widget.data()); }
    void repaint() const;
    void setRect(const Rect &twips);
    QRect pixelGeometry(const Rect &twips) const;
    QFont shownFont() const { return zoomedFont(m_font, m_zoom); }

    const ControlDef &m_def;
    QPointer<QWidget> m_widget;
    Own m_own = Own::None;
    QWidget *m_container;
    QRect m_geometry;
    // What a windowless control is drawn from; a frame keeps its caption here too.
    QString m_caption;
    QColor m_fore;
    QFont m_font;
    qreal m_zoom = 1;
    QString m_pictureName;
    mutable QPixmap m_picture;
    mutable QPixmap m_captionPicture; // a label's caption as drawn on screen
    mutable bool m_captionGreyed = false;
    bool m_visible;
    bool m_enabled = true;
    bool m_pressed = false;
    Rect m_rect;
    QString m_tag;
    int m_charset = Western;
};

} // namespace forms
