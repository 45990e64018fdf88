#include "lang/languages.h"

#include "forms/definitions.h"
#include "forms/form.h"
#include "forms/keys.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace lang {

void LanguageTag::set(Language language)
{
    if (language == m_language)
        return;
    m_language = language;
    emit changed(language);
}

QtTranslations::QtTranslations(const LanguageTag &tag)
{
    follow(tag.language());
    connect(&tag, &LanguageTag::changed, this, &QtTranslations::follow);
}

QtTranslations::~QtTranslations()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

void QtTranslations::follow(Language language)
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    m_installed = m_translator.load(QLocale(QString::fromLatin1(row(language).locale)),
                                    QStringLiteral("qtbase"), QStringLiteral("_"),
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                  QCoreApplication::installTranslator(&m_translator);
}

void connectFlags(forms::Form &form, const std::function<void(int)> &handler)
{
    for (const LanguageRow &language : Languages) {
        const int flag = flagOf(language.language);
        if (forms::Control *control = form.findControl(QStringLiteral("ImgLanguage"), flag))
            QObject::connect(control, &forms::Control::clicked, &form,
                             [handler, flag] { handler(flag); });
    }
}

void addFlagKeys(forms::Form &form, const LanguageTag &tag)
{
    for (const LanguageRow &language : Languages)
        if (forms::Control *control =
                form.findControl(QStringLiteral("ImgLanguage"), flagOf(language.language)))
            forms::addFocusStop(control);
    forms::addShortcut(form, QKeySequence(Qt::CTRL | Qt::Key_L), [&form, &tag] {
        const Language to = tag.is(Language::English) ? Language::Finnish : Language::English;
        return form.findControl(QStringLiteral("ImgLanguage"), flagOf(to));
    });
}

void setLabelCharset(forms::Form &form, int charset)
{
    for (forms::Control *control : form.controls())
        if (control->tag() == QLatin1String("lbl"))
            control->setCharset(charset);
}

void applyToCaptions(const QStringList &lines, forms::Form &form)
{
    for (const forms::LanguageLine &place : form.definition().languageLines)
        if (place.line <= lines.size())
            form.control(QLatin1String(place.control), place.index)
                ->setCaption(lines.at(place.line - 1));
}

QString captionIn(const forms::FormDef &form, const QStringList &lines, const QString &control,
                  int index)
{
    for (const forms::LanguageLine &place : form.languageLines)
        if (place.index == index && control == QLatin1String(place.control) &&
            place.line <= lines.size())
            return lines.at(place.line - 1);
    const forms::ControlDef *def = forms::findControl(form, control.toStdString(), index);
    return def ? QString::fromUtf8(def->caption) : QString();
}

bool recalculates(const QString &text1)
{
    return QString::compare(text1, QStringLiteral("0"), Qt::CaseSensitive) > 0;
}

} // namespace lang
