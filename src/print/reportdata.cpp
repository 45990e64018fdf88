// The report page filled from its data (see reportdata.h).

#include "print/reportdata.h"
#include "forms/names.h"

#include "calc/numbers.h"
#include "forms/definitions.h"
#include "lang/languages.h"

#include <QLocale>
#include <QRegularExpression>

namespace print {

namespace reportCtl = forms::names::FrmPRINT;
namespace mainCtl = forms::names::Form1;
namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

// The caption of each input on the report page, by the number of its field: those of C1, C2
// and S1 are named otherwise than in the main window.
QString captionControl(int field)
{
    switch (field) {
    case 1:
        return QStringLiteral("Label12");
    case 3:
        return QStringLiteral("Label11");
    case 4:
        return QStringLiteral("Label10");
    default:
        return QStringLiteral("Label%1").arg(field);
    }
}

// The artwork of the size's installation drawing, as the main window's definition shows it.
QString drawingOf(int sizeNo)
{
    const forms::ControlDef *drawing =
        forms::findControl(forms::Form1, "Picture1", forms::installationPicture(sizeNo));
    return drawing && drawing->picture ? QString::fromLatin1(drawing->picture) : QString();
}

// A design of several load cases: the line naming the governing case, or how many cases there
// are when none governs (the run stopped on a distance); empty for a design of one case.
QString casesLine(const ReportData &data)
{
    if (!data.result || !data.cases || data.design.cases.size() < 2)
        return {};
    const auto say = [&data](texts::Text key) {
        return QString::fromUtf8(texts::text(texts::of(data.language), key));
    };
    const int count = int(data.design.cases.size());
    const std::optional<int> governing = data.cases->governingCase;
    if (!governing)
        return say(texts::Text::DetailsLoadCases).arg(count);
    return say(texts::Text::DetailsGoverningCase)
        .arg(fromUtf8(data.design.cases[std::size_t(*governing)].name))
        .arg(*governing + 1)
        .arg(count);
}

// What the page says where no result belongs to the inputs; the details page says the same.
QString noResultText(NoResult why, lang::Language language)
{
    return QString::fromUtf8(
        texts::text(texts::of(language), why == NoResult::Stale ? texts::Text::ResultStale
                                                                : texts::Text::ResultUncalculated));
}

} // namespace

ReportCaptions
reportCaptions(const std::function<QString(const QString &name, int index)> &captionOf)
{
    const auto of = [&captionOf](forms::ControlName name) {
        return captionOf(QLatin1String(name.name), forms::NoIndex);
    };
    ReportCaptions captions;
    captions.title = of(mainCtl::Label11);
    captions.version = of(mainCtl::Label10);
    for (int i = 0; i < design::InputCount; ++i)
        captions.inputs[std::size_t(i)] =
            captionOf(QStringLiteral("Label%1").arg(design::Inputs[i].field), forms::NoIndex);
    captions.concrete = of(mainCtl::Label13);
    captions.yes = of(mainCtl::KYLLA);
    captions.no = of(mainCtl::EI);
    return captions;
}

QString versionLine(const QString &title, const QString &version)
{
    return title + QLatin1String("  (") + version + QLatin1Char(')');
}

// As the calculation wrote its result rows: a heading with the first value of its row.
ResultTexts resultTexts(const calc::Result &result, const std::string &decimalSeparator)
{
    ResultTexts texts;
    const auto fixed = [&decimalSeparator](double value) {
        return fromUtf8(calc::formatFixed2(value, decimalSeparator));
    };
    for (const calc::SizeRow &row : result.sizes) {
        const std::size_t i = std::size_t(row.sizeNo - 1);
        if (result.capacityHeading)
            texts.capacityHeading = fromUtf8(*result.capacityHeading);
        texts.tension[i] = fixed(row.FAnchor);
        if (row.shearCapacity) {
            if (result.shearHeading)
                texts.shearHeading = fromUtf8(*result.shearHeading);
            texts.shear[i] = fixed(*row.shearCapacity);
        }
        if (row.eccentricCapacity) {
            if (result.eccentricHeading)
                texts.eccentricHeading = fromUtf8(*result.eccentricHeading);
            texts.eccentric[i] = fixed(*row.eccentricCapacity);
        }
    }
    switch (result.outcome) {
    case calc::Outcome::Chosen:
        texts.anchor = fromUtf8(result.chosen->anchorText);
        texts.plate = fromUtf8(result.chosen->plateText);
        texts.drawing = result.chosen->sizeNo;
        break;
    case calc::Outcome::Stopped:
        texts.failure = fromUtf8(result.message->text);
        break;
    case calc::Outcome::Advice:
        texts.failure = fromUtf8(result.advice);
        break;
    }
    return texts;
}

QString dateTimeText(const QDateTime &at)
{
    // The long time form, for the seconds, without the time zone it may carry.
    const QLocale locale;
    QString time = locale.timeFormat(QLocale::LongFormat);
    time.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return locale.toString(at, locale.dateFormat(QLocale::ShortFormat) + u' ' + time.trimmed());
}

void fillReportPage(forms::Form &page, const ReportData &data)
{
    using forms::Control;
    const ResultTexts texts =
        data.result ? resultTexts(*data.result, data.decimalSeparator) : ResultTexts();

    if (data.labelCharset)
        lang::setLabelCharset(page, *data.labelCharset);
    page.setCaption(data.captions.title);
    page.control(reportCtl::Lblver)
        ->setCaption(versionLine(data.captions.title, data.captions.version));
    page.control(reportCtl::LblData)->setCaption(data.dateTime);
    for (int i = 0; i < forms::ArrangementPictureCount; ++i)
        page.control(reportCtl::Picture1, i)
            ->setVisible(i == forms::arrangementPicture(data.design.arrangement));

    // Several load cases: the load fields hold the governing case's loads, and none when no case
    // governs.
    const QString cases = casesLine(data);
    page.control(reportCtl::LblCases)->setCaption(cases);
    page.control(reportCtl::LblCases)->setVisible(!cases.isEmpty());
    const int governing = cases.isEmpty() ? -1 : data.cases->governingCase.value_or(-1);
    for (int i = 0; i < design::InputCount; ++i) {
        const design::Input &input = design::Inputs[i];
        const int field = input.field;
        page.control(captionControl(field))->setCaption(data.captions.inputs[std::size_t(i)]);
        Control *text = page.control(QStringLiteral("Text%1").arg(field));
        QString shown = data.fields[std::size_t(i)];
        if (!cases.isEmpty() && design::isLoad(input)) {
            shown.clear();
            if (governing >= 0 && design::uses(data.design.arrangement, input))
                shown = fromUtf8(calc::exactForm(design::withCase(data.design, governing).input.*
                                                 input.value))
                            .replace(u'.', fromUtf8(data.decimalSeparator));
        }
        text->setCaption(shown);
        // A value too long for its place is shown whole in a smaller font, never cut.
        text->shrinkToFit();
    }
    page.control(reportCtl::Label13)->setCaption(data.captions.concrete);
    page.control(reportCtl::KYLLA)->setCaption(data.captions.yes);
    page.control(reportCtl::EI)->setCaption(data.captions.no);
    page.control(reportCtl::KYLLA)->setVisible(data.design.cracked);
    page.control(reportCtl::EI)->setVisible(!data.design.cracked);

    page.control(reportCtl::Label18)->setCaption(texts.capacityHeading);
    page.control(reportCtl::Label20)->setCaption(texts.shearHeading);
    page.control(reportCtl::label21)->setCaption(texts.eccentricHeading);
    for (int i = 0; i < calc::SizeCount; ++i) {
        const std::size_t s = std::size_t(i);
        for (const auto &[row, text] : {std::pair{reportCtl::veto_leikkaus, &texts.tension[s]},
                                        std::pair{reportCtl::leikkaus, &texts.shear[s]},
                                        std::pair{reportCtl::epak, &texts.eccentric[s]}}) {
            Control *value = page.control(row, i + 1);
            value->setCaption(*text);
            value->shrinkToFit();
        }
    }
    page.control(reportCtl::Label17)->setCaption(texts.anchor);

    // A chosen anchor: its plate line and drawing. Otherwise their place says why there is none.
    const bool chosen = texts.drawing != 0;
    if (chosen)
        page.control(reportCtl::Pic1)->setPicture(drawingOf(texts.drawing));
    page.control(reportCtl::Pic1)->setVisible(chosen);
    page.control(reportCtl::Label14)->setCaption(texts.plate);
    page.control(reportCtl::Label14)->setVisible(chosen);
    Control *note = page.control(reportCtl::LblNote);
    note->setCaption(chosen        ? QString()
                     : data.result ? texts.failure
                                   : noResultText(data.noResult, data.language));
    note->setVisible(!chosen);
}

DetailsSource detailsSource(const ReportData &data)
{
    DetailsSource details;
    details.project = data.project;
    details.versionLine = versionLine(data.captions.title, data.captions.version);
    details.dateTime = data.dateTime;
    details.language = texts::of(data.language);
    details.design = data.design;
    details.result = data.result;
    details.cases = data.cases;
    details.calculated = data.result || data.noResult == NoResult::Stale;
    return details;
}

} // namespace print
