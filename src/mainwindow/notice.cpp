#include "mainwindow/notice.h"

#include "forms/definitions.h"
#include "forms/names.h"

namespace mainwindow {

namespace ctl = forms::names::FrmATT;

Notice::Notice(const lang::LanguageTag &language, QWidget *parent)
    : forms::Form(forms::FrmATT, parent), m_language(language)
{
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &forms::Form::activated, this, &Notice::Form_Activate);
    connect(control(ctl::Command1), &forms::Control::clicked, this, &Notice::Command1_Click);
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

void Notice::Command1_Click()
{
    close();
}

} // namespace mainwindow
