#include "mainwindow/notice.h"

#include "forms/definitions.h"

namespace mainwindow {

Notice::Notice(const forms::Form &languageOwner, QWidget *parent)
    : forms::Form(forms::FrmATT, parent), m_languageOwner(languageOwner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &forms::Form::activated, this, &Notice::Form_Activate);
    connect(control("Command1"), &forms::Control::clicked, this, &Notice::Command1_Click);
}

// In English the English text covers the Finnish one. Nothing turns it back while the notice
// stays open.
void Notice::Form_Activate()
{
    if (m_languageOwner.tag() == QLatin1String("eng")) {
        control("Label2")->setVisible(true);
        setCaption(QStringLiteral("HELP"));
    }
}

void Notice::Command1_Click()
{
    close();
}

} // namespace mainwindow
