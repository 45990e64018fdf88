#include "lang/languages.h"

#include "forms/form.h"

namespace lang {

QString LanguageTag::text() const
{
    switch (m_language) {
    case Language::Russian:
        return QStringLiteral("rus");
    case Language::English:
        return QStringLiteral("eng");
    case Language::Finnish:
        break;
    }
    return QStringLiteral("fin");
}

void LanguageTag::set(Language language)
{
    if (language == m_language)
        return;
    m_language = language;
    emit changed(language);
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

bool recalculates(const QString &text1)
{
    return QString::compare(text1, QStringLiteral("0"), Qt::CaseSensitive) > 0;
}

} // namespace lang
