// The report command of the main window (Form1.ImgPrint).

#include "print/confirmations.h"
#include "print/print.h"

#include "forms/definitions.h"

namespace print {

// Results are printed only beside the inputs they were calculated from; otherwise the result part
// of the page is empty, as before any calculation.
void Printing::fillReport(forms::Form &report, const ReportSource &source)
{
    using forms::Control;
    const auto c = [&report](const char *name, int index = forms::NoIndex) {
        return report.control(QLatin1String(name), index);
    };
    const bool current = source.lastCalculation && *source.lastCalculation == source.design;

    c("KYLLA")->setVisible(false);
    c("EI")->setVisible(false);
    c("Lblver")->setCaption(versionLine(source.title, source.version));
    c("LblData")->setCaption(dateTimeText(m_platform.now()));

    const bool drawing = current && !source.drawing.isEmpty();
    if (drawing)
        c("Pic1")->setPicture(source.drawing);
    c("Pic1")->setVisible(drawing);
    c("Label14")->setVisible(drawing);
    c("Label14")->setCaption(current ? source.plate : QString());

    for (qsizetype i = 0; i < qsizetype(std::size(ReportCopies)); ++i) {
        const Copy &copy = ReportCopies[i];
        Control *to = c(copy.report, copy.index);
        to->setCaption(copy.result && !current ? QString() : source.copies.value(i));
        // A value too long for its place is shown whole in a smaller font, never cut.
        if (to->kind() == forms::Kind::TextBox || copy.index != forms::NoIndex)
            to->shrinkToFit();
    }
    for (int i = 0; i < design::InputCount; ++i) {
        Control *to = report.control(QStringLiteral("Text%1").arg(design::Inputs[i].field));
        to->setCaption(source.fields.value(i));
        to->shrinkToFit();
    }
    (source.cracked ? c("KYLLA") : c("EI"))->setVisible(true);
    report.setCaption(source.title);
}

DetailsSource Printing::detailsSource(const ReportSource &source) const
{
    DetailsSource details;
    details.project = source.project;
    details.versionLine = m_report->control(QStringLiteral("Lblver"))->caption();
    details.dateTime = m_report->control(QStringLiteral("LblData"))->caption();
    details.finnish = m_language.row().windowTexts == lang::WindowTexts::Finnish;
    details.design = source.design;
    details.result = source.working;
    details.calculated = source.lastCalculation.has_value();
    return details;
}

void Printing::printReport(const ReportSource &source, Pages pages)
{
    if (!m_report) {
        m_platform.messageBox(m_main, QString::fromLatin1(CannotPrint), QString());
        return;
    }
    m_report->showWindow();
    fillReport(*m_report, source);
    m_report->showWindow();

    const forms::FormDef &def = m_language.row().windowTexts == lang::WindowTexts::English
                                    ? forms::FrmPRINTeng
                                    : forms::FrmTULOSTA;
    auto *confirmation = new ReportConfirmation(def, m_platform, m_main, m_report);
    m_reportConfirmation = confirmation;
    connect(confirmation, &ReportConfirmation::projectChanged, this, &Printing::projectChanged);
    if (pages == Pages::ReportAndDetails)
        confirmation->setDetails(detailsSource(source));
    openConfirmation(*confirmation, m_report);
    // The entry offers the design's project name; it goes onto the project line as typed.
    if (!source.project.isEmpty())
        confirmation->control(QStringLiteral("Text1"))->setText(source.project);

    if (m_main)
        m_main->setEnabled(false);
    m_report->setEnabled(false);
}

void Printing::saveReportAsPdf(const ReportSource &source)
{
    if (!m_report) {
        m_platform.messageBox(m_main, QString::fromLatin1(CannotPrint), QString());
        return;
    }
    fillReport(*m_report, source);
    forms::Control *line = m_report->control(QStringLiteral("LblKomm"));
    line->setCaption(source.project);
    const DetailsSource details = detailsSource(source);
    savePageAsPdf(m_platform, m_main, *m_report,
                  {[&details](QPainter &painter) { paintDetailsPage(painter, details); }});
    line->setCaption(QString());
}

} // namespace print
