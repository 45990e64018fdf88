#include "lang/languages.h"

#include "forms/form.h"

namespace lang {
namespace {

// Where lines 2 to 23 go: a control of the main window by name and index.
struct CaptionPlace
{
    int line;
    const char *name;
    int index = forms::NoIndex;
};

constexpr CaptionPlace CaptionPlaces[] = {
    {2, "Label11"},  {3, "LbSit", 0}, {4, "LbSit", 1}, {5, "LbSit", 2}, {6, "LbSit", 3},
    {7, "LbSit", 4}, {8, "LbSit", 5}, {9, "LbSit", 6}, {10, "Label1"},  {11, "Label3"},
    {12, "Label4"},  {13, "Label5"},  {14, "Label6"},  {15, "Label7"},  {16, "Label8"},
    {17, "Label9"},  {18, "Label15"}, {19, "Label14"}, {20, "Label13"}, {21, "KYLLA"},
    {22, "EI"},      {23, "Label12"}, // the advice; the label stays hidden until needed
};

} // namespace

QString tag(Language language)
{
    switch (language) {
    case Language::Russian:
        return QStringLiteral("rus");
    case Language::English:
        return QStringLiteral("eng");
    case Language::Finnish:
        break;
    }
    return QStringLiteral("fin");
}

void setLabelCharset(forms::Form &form, int charset)
{
    for (forms::Control *control : form.controls())
        if (control->tag() == QLatin1String("lbl"))
            control->setCharset(charset);
}

void applyToCaptions(const QStringList &lines, forms::Form &mainWindow)
{
    for (const CaptionPlace &place : CaptionPlaces)
        if (place.line <= lines.size())
            mainWindow.control(QLatin1String(place.name), place.index)
                ->setCaption(lines.at(place.line - 1));
}

bool recalculates(const QString &text1)
{
    return QString::compare(text1, QStringLiteral("0"), Qt::CaseSensitive) > 0;
}

} // namespace lang
