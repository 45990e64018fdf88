// The report command of the main window (Form1.ImgPrint).

#include "forms/names.h"
#include "print/confirmations.h"
#include "print/print.h"

#include "forms/definitions.h"

namespace print {

namespace reportCtl = forms::names::FrmPRINT;

void Printing::printReport(const ReportData &data, Pages pages)
{
    if (!m_report) {
        m_platform.messageBox(m_main, QString::fromLatin1(CannotPrint), QString());
        return;
    }
    m_report->showWindow();
    fillReportPage(*m_report, data);
    m_report->showWindow();

    const forms::FormDef &def = m_language.row().windowTexts == lang::WindowTexts::English
                                    ? forms::FrmPRINTeng
                                    : forms::FrmTULOSTA;
    auto *confirmation = new ReportConfirmation(def, m_platform, pdfOffer(), m_main, m_report);
    m_reportConfirmation = confirmation;
    connect(confirmation, &ReportConfirmation::projectChanged, this, &Printing::projectChanged);
    if (pages == Pages::ReportAndDetails)
        confirmation->setDetails(detailsSource(data));
    openConfirmation(*confirmation, m_report);
    // The entry offers the design's project name; it goes onto the project line as typed.
    if (!data.project.isEmpty())
        confirmation->offerProject(data.project);

    if (m_main)
        m_main->setEnabled(false);
    m_report->setEnabled(false);
}

void Printing::saveReportAsPdf(const ReportData &data)
{
    if (!m_report) {
        m_platform.messageBox(m_main, QString::fromLatin1(CannotPrint), QString());
        return;
    }
    fillReportPage(*m_report, data);
    forms::Control *line = m_report->control(reportCtl::LblKomm);
    line->setCaption(data.project);
    const DetailsSource details = detailsSource(data);
    const PdfOffer offer = pdfOffer();
    savePageAsPdf(m_platform, offer, texts::Text::PrintSaveReport, m_main, *m_report,
                  detailsPages(details));
    line->setCaption(QString());
}

} // namespace print
