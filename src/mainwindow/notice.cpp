#include "mainwindow/notice.h"

#include "forms/definitions.h"
#include "forms/names.h"

#include <QKeyEvent>

namespace mainwindow {

namespace ctl = forms::names::FrmATT;

Notice::Notice(const lang::LanguageTag &language, QWidget *parent)
    : forms::Form(forms::FrmATT, parent), m_language(language)
{
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &forms::Form::activated, this, &Notice::Form_Activate);
    connect(control(ctl::Command1), &forms::Control::clicked, this, &Notice::Command1_Click);
}

// Enter and Esc answer as OK does; the OK button leaves them to its window.
void Notice::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        Command1_Click();
        return;
    default:
        forms::Form::keyPressEvent(event);
    }
}

void Notice::showEmptyFields(const QStringList &captions)
{
    control(ctl::Label3)
        ->setCaption(
            m_language
                .ownText(captions.size() == 1 ? texts::Text::EmptyField : texts::Text::EmptyFields)
                .arg(captions.join(QStringLiteral(", "))));
}

// A language with a title for the notice (English) shows the English text over the Finnish one.
// Nothing turns it back while the notice stays open.
void Notice::Form_Activate()
{
    if (const char *caption = m_language.row().noticeCaption) {
        control(ctl::Label2)->setVisible(true);
        setCaption(QString::fromUtf8(caption));
    }
}

// The main window takes the keys again, at the field the notice asked for.
void Notice::Command1_Click()
{
    close();
    if (QWidget *window = parentWidget(); window && window->isVisible())
        window->activateWindow();
}

} // namespace mainwindow
