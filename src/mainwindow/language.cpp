// The language of the main window: the start-up step and the flags.

#include "mainwindow/mainwindow.h"

#include "lang/languages.h"

namespace mainwindow {

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
    if (m_reportPage)
        lang::setLabelCharset(*m_reportPage, charset);
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
    setTag(lang::tag(Language::English));
    control("Label10")->setCaption(QString::fromLatin1(lang::VersionEnglish));
    control("Image2")->setVisible(false);
    control("Label14")->setTop(lang::Label14Top);

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
    setTag(lang::tag(language));
    if (language == Language::Finnish) {
        control("Label10")->setCaption(QString::fromLatin1(lang::VersionFinnish));
        control("Image2")->setVisible(false);
    }

    const std::optional<QStringList> lines = readLanguageFile(language);
    if (!lines)
        return;
    switch (language) {
    case Language::Russian:
        setLabelCharset(lang::DefaultCharset);
        control("Label14")->setTop(lang::Label14TopRussian);
        break;
    case Language::English:
        control("Label14")->setTop(lang::Label14Top);
        control("Image2")->setVisible(true);
        control("Label10")->setCaption(QString::fromLatin1(lang::VersionEnglish));
        break;
    case Language::Finnish:
        setLabelCharset(lang::WesternCharset);
        control("Label14")->setTop(lang::Label14Top);
        break;
    }
    applyLanguageLines(*lines);

    if (lang::recalculates(field(1)->text()))
        ImgCalc_Click();
}

} // namespace mainwindow
