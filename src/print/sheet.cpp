// The data sheet's print command (Form2.ImgPrint): the sheet turns itself into its print layout,
// asks, prints itself and goes back.

#include "print/confirmations.h"
#include "print/print.h"

#include "forms/names.h"

namespace print {

namespace ctl = forms::names::Form2;
namespace {

// The frame at the top-left corner, as wide as the client area and 10 twips taller.
constexpr forms::Rect PrintLayout{0, 0, 15405, 11530};

forms::Rect designPlace(const forms::Form &sheet)
{
    return sheet.control(ctl::Frame1)->definition().rect;
}

void leavePrintLayout(forms::Form &sheet)
{
    moveFrame(sheet, designPlace(sheet));
    sheet.control(ctl::Lblver)->setVisible(false);
    sheet.control(ctl::LblData)->setVisible(false);
}

} // namespace

void Printing::printDataSheet(forms::Form &sheet, const SheetSource &source)
{
    sheet.installEventFilter(this);
    sheet.control(ctl::Lblver)->setCaption(versionLine(source.title, source.version));
    sheet.control(ctl::LblData)->setCaption(dateTimeText(m_platform.now()));
    sheet.control(ctl::Lblver)->setVisible(true);
    sheet.control(ctl::LblData)->setVisible(true);
    moveFrame(sheet, PrintLayout);

    // Finnish asks in a window of its own; the other languages (English, Russian) in an English
    // message box.
    if (m_language.row().windowTexts == lang::WindowTexts::Finnish) {
        sheet.setEnabled(false);
        auto *confirmation = new SheetConfirmation(m_platform, pdfOffer(), &sheet, source.refresh);
        m_sheetConfirmation = confirmation;
        openConfirmation(*confirmation, &sheet);
        return;
    }

    const QPointer<forms::Form> guarded(&sheet);
    const auto answer =
        m_platform.messageBox(&sheet, QStringLiteral("           PRINT?"), QStringLiteral("PRINT"),
                              forms::Platform::Buttons::YesNo);
    if (answer == forms::Platform::Answer::Yes) {
        if (guarded && source.refresh)
            source.refresh();
        if (printEnabled(m_platform, guarded))
            notePrinted(m_platform, pdfOffer(), guarded);
        else
            reportFailure(m_platform, pdfOffer(), guarded, guarded);
    }
    if (guarded) {
        guarded->setEnabled(true);
        leavePrintLayout(*guarded);
    }
}

} // namespace print
