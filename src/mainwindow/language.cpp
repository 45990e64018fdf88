// The language of the main window: the start-up step and the flags.

#include "mainwindow/mainwindow.h"

#include "forms/definitions.h"

namespace mainwindow {

using lang::Language;

namespace {

int indexOf(Language language)
{
    return static_cast<int>(language);
}

} // namespace

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
    if (m_reportPage)
        lang::setLabelCharset(*m_reportPage, charset);
}

void MainWindow::setVersionCaption(Language language)
{
    control("Label10")->setCaption(QString::fromUtf8(forms::Form1Version[indexOf(language)]));
}

// Lines 2 to 23 into the captions, 23 to 34 into the texts the calculation composes. The advice
// (line 23) follows the language like the rest; an empty line leaves the Finnish advice.
void MainWindow::applyLanguageLines(const QStringList &lines)
{
    lang::applyToCaptions(lines, *this);
    lang::applyToTexts(lines, m_texts);
}

// Every run starts in English. The English file, where there is one, also sets the captions
// and fragments and shows the English tabs; without it the Finnish captions of the window stay.
void MainWindow::startupLanguageStep()
{
    m_language.set(Language::English);
    setVersionCaption(Language::English);
    control("Image2")->setVisible(false);
    control("Label14")->setTop(forms::Form1Label14Top[indexOf(Language::English)]);

    const std::optional<QStringList> lines = readLanguageFile(Language::English);
    if (!lines)
        return;
    setLabelCharset(lang::WesternCharset);
    control("Image2")->setVisible(true);
    applyLanguageLines(*lines);
}

// The flags: 0 Russian (its image is hidden), 1 English, 2 Finnish. The tag changes even when
// the language has no file; the captions then stay as they are. A switch also calculates again
// when Text1 holds a number, so that the results come out in the new language.
void MainWindow::ImgLanguage_Click(int index)
{
    if (index < 0 || index > 2)
        return;
    const auto language = static_cast<Language>(index);
    m_language.set(language);
    if (language == Language::Finnish) {
        setVersionCaption(language);
        control("Image2")->setVisible(false);
    }

    const std::optional<QStringList> lines = readLanguageFile(language);
    if (!lines)
        return;
    control("Label14")->setTop(forms::Form1Label14Top[index]);
    switch (language) {
    case Language::Russian:
        setLabelCharset(lang::DefaultCharset);
        break;
    case Language::English:
        control("Image2")->setVisible(true);
        setVersionCaption(language);
        break;
    case Language::Finnish:
        setLabelCharset(lang::WesternCharset);
        break;
    }
    applyLanguageLines(*lines);

    if (lang::recalculates(field(1)->text()))
        ImgCalc_Click();
}

} // namespace mainwindow
