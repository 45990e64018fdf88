#include "help/helpwindow.h"

#include "forms/definitions.h"
#include "forms/keys.h"
#include "forms/names.h"

#include <QAction>
#include <QWheelEvent>

namespace help {

namespace ctl = forms::names::Form3;

HelpWindow::HelpWindow(lang::LanguageTag &language, QWidget *parent)
    : forms::Form(forms::Form3, parent), m_language(language)
{
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &forms::Form::activated, this, &HelpWindow::Form_Activate);
    connect(control(ctl::Image1), &forms::Control::clicked, this, &HelpWindow::Image1_Click);
    lang::connectFlags(*this, [this](int index) { ImgLanguage_Click(index); });
    // Esc goes back, as the back word does; Tab reaches it and the flags.
    lang::addFlagKeys(*this, m_language);
    forms::addFocusStop(control(ctl::Image1));
    forms::addShortcut(*this, QKeySequence(Qt::Key_Escape), control(ctl::Image1));
    for (const auto &[key, page] : {std::pair{Qt::Key_PageDown, 1}, {Qt::Key_PageUp, 0}}) {
        auto *turn = new QAction(this);
        turn->setShortcut(QKeySequence(key));
        addAction(turn);
        connect(turn, &QAction::triggered, this, [this, page = page] { showPage(page); });
    }
    showPage(0);
    Form_Initialize();
}

// Steps 1 and 2 of the selection: English shows its help and the English back word, Finnish its
// help; a language that leaves the windows' texts (Russian) leaves everything as it is.
void HelpWindow::showLanguageText(bool hideDisclaimer)
{
    setCaption(m_language.ownText(texts::Text::TitleHelp));
    const lang::WindowTexts texts = m_language.row().windowTexts;
    if (texts == lang::WindowTexts::Unchanged)
        return;
    const bool english = texts == lang::WindowTexts::English;
    control(ctl::ImgEng)->setVisible(english);
    control(ctl::Label1)->setVisible(english);
    control(ctl::Label2)->setVisible(!english);
    if (hideDisclaimer)
        control(ctl::Label3)->setVisible(false);
}

void HelpWindow::Form_Initialize()
{
    showLanguageText(false);
}

// The mode "info" wins over the language: the disclaimer, with the back word of the language.
void HelpWindow::Form_Activate()
{
    showLanguageText(true);
    if (tag() != QLatin1String(InfoMode))
        return;
    control(ctl::Label1)->setVisible(false);
    control(ctl::Label2)->setVisible(false);
    control(ctl::Label3)->setVisible(true);
}

// The English help (Label1) and the Finnish one (Label2) each in their own language.
void HelpWindow::showPage(int page)
{
    m_page = page;
    for (const auto &[label, language] : {std::pair{ctl::Label1, texts::Language::English},
                                          {ctl::Label2, texts::Language::Finnish}}) {
        forms::Control *help = control(label);
        help->setCaption(
            page == 0 ? QString::fromUtf8(help->definition().caption) + QStringLiteral("\r\n") +
                            QString::fromUtf8(texts::text(language, texts::Text::HelpMore))
                      : QString::fromUtf8(texts::text(language, texts::Text::HelpAdded)));
    }
}

void HelpWindow::wheelEvent(QWheelEvent *event)
{
    if (const int turn = event->angleDelta().y())
        showPage(turn < 0 ? 1 : 0);
    event->accept();
}

void HelpWindow::Image1_Click()
{
    close();
}

// The language images are hidden: nothing in the program calls this, but a shown image would.
// Only the tag changes in the other windows.
void HelpWindow::ImgLanguage_Click(int index)
{
    const lang::LanguageRow *language = lang::rowOfFlag(index);
    if (!language || language->windowTexts == lang::WindowTexts::Unchanged)
        return;
    m_language.set(language->language);
    showLanguageText(false);
}

Help::~Help()
{
    delete m_window;
}

void Help::open()
{
    if (!m_window)
        m_window = new HelpWindow(m_language);
    m_window->showWindow();
}

// The mode is set before the window is shown and activated, so that the disclaimer is what it
// shows from its first paint on.
void Help::openInfo()
{
    if (!m_window)
        m_window = new HelpWindow(m_language);
    m_window->setTag(QString::fromLatin1(HelpWindow::InfoMode));
    m_window->showWindow();
}

} // namespace help
