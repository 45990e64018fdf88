// The language of the main window: the start-up step and the flags.

#include "forms/names.h"
#include "mainwindow/mainwindow.h"

namespace mainwindow {

namespace ctl = forms::names::Form1;

using lang::Language;

// The lines of the language's file beside the program; nothing when there is no such file or
// it cannot be read, and then no caption or fragment changes.
std::optional<QStringList> MainWindow::readLanguageFile(Language language) const
{
    const QString path = lang::findFile(m_platform.programFolder(), language);
    if (path.isEmpty())
        return std::nullopt;
    return lang::readLines(path, language);
}

void MainWindow::setLabelCharset(int charset)
{
    lang::setLabelCharset(*this, charset);
    m_labelCharset = charset;
}

// The version caption and the tabs (Image2 holds the English ones) of the language, where it
// has them.
void MainWindow::showLanguageMarks(const lang::LanguageRow &language)
{
    if (language.version)
        control(ctl::Label10)->setCaption(QString::fromUtf8(language.version));
    if (language.windowTexts != lang::WindowTexts::Unchanged)
        control(ctl::Image2)->setVisible(language.windowTexts == lang::WindowTexts::English);
}

// Lines 2 to 23 into the captions, 23 to 34 into the texts the calculation composes. The advice
// (line 23) follows the language like the rest; an empty line leaves the Finnish advice.
void MainWindow::applyLanguageLines(const QStringList &lines)
{
    lang::applyToCaptions(lines, *this);
    lang::applyToTexts(lines, m_texts);
}

// Every run starts in English. The English file, where there is one, also sets the captions
// and fragments, the Western character set, and shows the English tabs; without it the Finnish
// captions of the window stay.
void MainWindow::startupLanguageStep()
{
    const lang::LanguageRow &english = lang::row(Language::English);
    m_language.set(english.language);
    control(ctl::Label10)->setCaption(QString::fromUtf8(english.version));
    control(ctl::Image2)->setVisible(false);
    control(ctl::Label14)->setTop(english.label14Top);

    const std::optional<QStringList> lines = readLanguageFile(english.language);
    if (!lines)
        return;
    setLabelCharset(lang::WesternCharset);
    control(ctl::Image2)->setVisible(true);
    applyLanguageLines(*lines);
}

// The flags, by the index of the language (the Russian image is hidden). The tag changes even
// when the language has no file; the captions then stay as they are. The window's own language
// shows its version caption and tabs without its file, the others only with theirs. A switch
// also calculates again when Text1 holds a number, so that the results come out in the new
// language.
void MainWindow::ImgLanguage_Click(int index)
{
    const lang::LanguageRow *language = lang::rowOfFlag(index);
    if (!language)
        return;
    m_language.set(language->language);
    const bool builtIn = language->language == lang::BuiltIn;
    if (builtIn)
        showLanguageMarks(*language);

    const std::optional<QStringList> lines = readLanguageFile(language->language);
    if (!lines)
        return;
    control(ctl::Label14)->setTop(language->label14Top);
    if (language->charset != lang::KeepCharset)
        setLabelCharset(language->charset);
    if (!builtIn)
        showLanguageMarks(*language);
    applyLanguageLines(*lines);

    if (lang::recalculates(field(1)->text()))
        ImgCalc_Click();
}

} // namespace mainwindow
