#include "datasheet/datasheet.h"

#include "calc/numbers.h"
#include "forms/definitions.h"
#include "forms/keys.h"
#include "forms/names.h"
#include "product/sheettable.h"

#include <cmath>

namespace datasheet {

namespace ctl = forms::names::Form2;

using product::ColumnCount;
using product::Columns;
using product::entry;
using product::RowCount;
using product::SizeCount;

int sizeIndexOf(const QString &text1)
{
    const double value = calc::parseNumber(text1.toStdString()).value;
    if (!std::isfinite(value))
        return 0;
    // The current rounding mode, to nearest with halves to even: 0.5 gives 0, 4.5 gives 4.
    const double index = std::nearbyint(value);
    return index >= 0 && index <= SizeCount ? static_cast<int>(index) : 0;
}

DataSheet::DataSheet(lang::LanguageTag &language, help::Help &help, QWidget *returnTo,
                     QWidget *parent)
    : forms::Form(forms::Form2, parent), m_language(language), m_help(help), m_returnTo(returnTo)
{
    setAttribute(Qt::WA_DeleteOnClose);
    using forms::Control;
    connect(this, &forms::Form::activated, this, &DataSheet::Form_Activate);
    connect(control(ctl::ImgExit), &Control::clicked, this, &DataSheet::ImgExit_Click);
    connect(control(ctl::ImgHelp), &Control::clicked, this, &DataSheet::ImgHelp_Click);
    connect(control(ctl::ImgPrint), &Control::clicked, this, &DataSheet::ImgPrint_Click);
    lang::connectFlags(*this, [this](int index) { ImgLanguage_Click(index); });
    // The commands by key and by Tab; Esc goes back.
    forms::addFocusStop(control(ctl::ImgPrint));
    forms::addShortcut(*this, QKeySequence(Qt::CTRL | Qt::Key_P), control(ctl::ImgPrint));
    forms::addFocusStop(control(ctl::ImgHelp));
    forms::addShortcut(*this, QKeySequence(Qt::Key_F1), control(ctl::ImgHelp));
    lang::addFlagKeys(*this, m_language);
    forms::addFocusStop(control(ctl::ImgExit));
    forms::addShortcut(*this, QKeySequence(Qt::Key_Escape), control(ctl::ImgExit));
}

void DataSheet::setChosenSize(int sizeNo, const QString &title)
{
    control(ctl::Text1)->setText(QString::number(sizeNo));
    control(ctl::Label1)->setCaption(title);
}

// Language, size, fill and show, each time the sheet becomes active: coming back to it always
// shows the size last written to Text1 in the current language.
void DataSheet::Form_Activate()
{
    setCaption(m_language.ownText(texts::Text::TitleDataSheet));
    ImgLanguage_Click(m_language.index());
    const int sizeIndex = sizeIndexOf(control(ctl::Text1)->text());
    for (int row = 1; row <= RowCount; ++row)
        for (int column = 0; column < ColumnCount; ++column)
            control(QLatin1String(Columns[column].array), row)
                ->setCaption(QString::fromUtf8(entry(sizeIndex, row, column)));
}

void DataSheet::ImgExit_Click()
{
    close();
    if (m_returnTo) {
        m_returnTo->show();
        m_returnTo->raise();
        m_returnTo->activateWindow();
    }
}

void DataSheet::ImgHelp_Click()
{
    m_help.open();
}

void DataSheet::ImgPrint_Click()
{
    emit printRequested();
}

// A language that leaves the windows' texts (Russian) changes nothing here; English and
// Finnish set the tag, the English tabs and the heading of the size column.
void DataSheet::ImgLanguage_Click(int index)
{
    const lang::LanguageRow *language = lang::rowOfFlag(index);
    if (!language || language->windowTexts == lang::WindowTexts::Unchanged)
        return;
    m_language.set(language->language);
    control(ctl::Image2)->setVisible(language->windowTexts == lang::WindowTexts::English);
    if (language->sizeHeading)
        control(ctl::Label2, 7)->setCaption(QString::fromUtf8(language->sizeHeading));
}

} // namespace datasheet
