#pragma once

#include "forms/definition.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace forms {

// One control of a window, as the window logic sees it: the operations on its properties and
// its events. The widget that draws it is made by the runtime from the definition.
class Control : public QObject
{
    Q_OBJECT
public:
    Control(const ControlDef &def, QWidget *widget, QObject *parent);

    const ControlDef &definition() const { return m_def; }
    QString name() const;
    int index() const { return m_def.index; }
    Kind kind() const { return m_def.kind; }
    QWidget *widget() const { return m_widget; }

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

    // Position in twips.
    int left() const { return m_left; }
    int top() const { return m_top; }
    void setTop(int twips);

    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // The font's character set: kept with the control, the glyphs come from the font family.
    int charset() const { return m_charset; }
    void setCharset(int charset) { m_charset = charset; }

    void setFocus();
    bool hasFocus() const;

signals:
    void clicked();
    void changed();       // a text field's text changed, typed or set by the program
    void lostFocus();     // the keyboard focus moved to another control of the program
    void returnPressed(); // Enter in a single-line text field

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const ControlDef &m_def;
    QPointer<QWidget> m_widget;
    bool m_enabled = true;
    bool m_pressed = false;
    int m_left = 0;
    int m_top = 0;
    QString m_tag;
    int m_charset = Western;
};

} // namespace forms
