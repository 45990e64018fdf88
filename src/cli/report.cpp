// The module kiila-report.so, which kiila-calc loads for --report (see report.h).

#include "cli/report.h"

#include "calc/numbers.h"
#include "cli/text.h"
#include "forms/platform.h"
#include "forms/widgets.h"
#include "lang/languages.h"
#include "mainwindow/mainwindow.h"
#include "outfile/outfile.h"
#include "print/confirmations.h"
#include "print/detailspage.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>

#include <malloc.h>

namespace cli {
namespace {

// The pages of the main window's report, and its desktop: a message box is noted and answered
// at once, and a printed page becomes the next page of the PDF file.
class PdfReport : public Report, public forms::Platform, public QObject
{
public:
    // details: each report page followed by the details page of its calculation.
    PdfReport(const QString &path, const QString &lang, const QString &project, bool details)
        : m_folder(lang == QLatin1String("none") ? QString()
                                                 : QCoreApplication::applicationDirPath()),
          m_file(path), m_project(project), m_details(details)
    {
        // The windows are shown on a screen nobody sees: painting them there, a few windows
        // for every page, would cost more than the page itself. Their pages are painted by
        // printWindow.
        QCoreApplication::instance()->installEventFilter(this);
        m_window = std::make_unique<mainwindow::MainWindow>(*this, m_language);
        // The program starts in English; "none" finds no file and keeps the built-in texts.
        const lang::LanguageRow *row = lang == QLatin1String("none")
                                           ? &lang::row(lang::BuiltIn)
                                           : lang::rowOfTag(lang.toStdString());
        if (row && !m_language.is(row->language))
            m_window->ImgLanguage_Click(lang::flagOf(row->language));
    }

    // Wrong usage, a missing font, or the file that cannot be written; empty when the report
    // can start. `fromFile`: the project name is the --design file's.
    std::string check(bool fromFile)
    {
        // First: without the font no text is measured as it will be drawn.
        if (const QString family = missingFont(); !family.isEmpty())
            return "--report: the font " + cli::quoted(family.toStdString()) +
                   ", which the report is written in, is not installed";
        if (!designfile::isOneLine(m_project))
            return "--project: the name is more than one line, or holds a control character";
        if (!m_window->reportPage()->control(QStringLiteral("LblKomm"))->fits(m_project))
            return fromFile ? "--design: the file's project name does not fit the project line "
                              "of the report; give another with --project"
                            : "--project: the name does not fit the project line of the report";
        if (!m_file.start())
            return failed(m_file.failure());
        return {};
    }

    void addPage(const design::Design &design) override;
    void addDetailsPage(const design::Design &design);

    bool finish() override
    {
        if (!m_error.empty())
            return false;
        if (m_pages == 0)
            return true;
        const bool ended = m_painter.end();
        if (!ended || !m_file.finish()) {
            m_error =
                failed(ended ? m_file.failure() : QStringLiteral("the PDF was not completed"));
            return false;
        }
        return true;
    }

    std::string error() const override { return m_error; }

    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::UpdateRequest || event->type() == QEvent::Expose;
    }

    Answer messageBox(QWidget *, const QString &text, const QString &, Buttons) override
    {
        m_message = text;
        return Answer::Ok;
    }

    bool printWindow(QWidget &page) override
    {
        if (m_pages == 0) {
            forms::setUpPdf(m_writer, page.windowTitle());
            if (!m_painter.begin(&m_writer))
                return false;
        } else if (!m_writer.newPage()) {
            return false;
        }
        forms::paintWindow(page, m_painter);
        ++m_pages;
        return m_file.failure().isEmpty();
    }

    // A printer is there: a failure is not followed by the offer of a PDF file.
    bool hasPrinter() const override { return true; }
    QString savePdfPath(QWidget *) override { return {}; }
    QString printWindowToPdf(QWidget &, const QString &) override
    {
        return QStringLiteral("no PDF file is saved here");
    }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void exit() override {}
    QString programFolder() const override { return m_folder; }

private:
    std::string failed(const QString &reason) const
    {
        return "cannot write " + cli::quoted(m_file.path().toStdString()) + ": " +
               reason.toStdString();
    }

    // The family the windows draw their texts in, when the font database does not have it:
    // every character would be a box (with no font at all) or drawn in another font, wider
    // or narrower than the page's fields.
    static QString missingFont()
    {
        const QFont font = forms::toFont(forms::Font());
        if (QFontDatabase::hasFamily(font.family()) && QFontInfo(font).family() == font.family())
            return {};
        return font.family();
    }

    QString m_folder;
    outfile::OutputFile m_file; // the file appears complete, or not at all
    QPdfWriter m_writer{m_file.device()};
    QPainter m_painter;
    int m_pages = 0;
    QString m_message; // of the last message box
    QString m_project;
    bool m_details;
    std::string m_error;
    lang::LanguageTag m_language;
    std::unique_ptr<mainwindow::MainWindow> m_window;
};

// As a user does it: the arrangement, the concrete state, the fields, calculate, print, the
// project name and "Yes".
void PdfReport::addPage(const design::Design &design)
{
    if (!m_error.empty())
        return;
    mainwindow::MainWindow &window = *m_window;
    window.ImgSIT_Click(design.arrangement - 1);
    window.ImgNO_Click(design.cracked ? 0 : 1);
    for (const design::Input &input : design::Inputs) {
        forms::Control *field = window.control(QStringLiteral("Text%1").arg(input.field));
        const double value = design.input.*input.value;
        // A field the arrangement does not use stays empty, unless it is given a value: the
        // window then calculates from what the command line gave.
        if (field->isEnabled() || value != 0)
            field->setText(QString::fromStdString(calc::writtenForm(value)));
    }
    window.ImgCalc_Click();
    window.ImgPrint_Click();

    auto *confirmation =
        qobject_cast<print::ReportConfirmation *>(window.printing()->reportConfirmation());
    if (!confirmation) {
        m_error = failed(QString::fromLatin1(print::CannotPrint));
        return;
    }
    confirmation->control(QStringLiteral("Text1"))->setText(m_project);
    const int before = m_pages;
    m_message.clear();
    confirmation->Command1_Click();
    // What the event loop would do now: the windows' events handled (without it they pile
    // up, a few for every page) and the closed confirmation deleted.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!m_file.failure().isEmpty())
        m_error = failed(m_file.failure());
    else if (m_pages == before)
        m_error = failed(m_message.isEmpty() ? QString::fromLatin1(print::CannotPrint) : m_message);
    else if (m_details)
        addDetailsPage(design);
}

// The working values of the design, calculated again with the window's texts, on a page of
// their own; the head lines as the report page has them.
void PdfReport::addDetailsPage(const design::Design &design)
{
    forms::Form &page = *m_window->reportPage();
    print::DetailsSource source;
    source.project = m_project;
    source.versionLine = page.control(QStringLiteral("Lblver"))->caption();
    source.dateTime = page.control(QStringLiteral("LblData"))->caption();
    source.finnish = m_language.is(lang::Language::Finnish);
    source.design = design;
    source.result =
        calc::Mitoitus(design.input, design.arrangement, design.concreteState(), m_window->texts(),
                       QLocale().decimalPoint().toStdString(), calc::Working::Kept);
    if (!m_writer.newPage()) {
        m_error = failed(QStringLiteral("the PDF was not completed"));
        return;
    }
    print::paintDetailsPage(m_painter, source);
    ++m_pages;
    if (!m_file.failure().isEmpty())
        m_error = failed(m_file.failure());
}

} // namespace
} // namespace cli

// The module's entries, found by name (reportloader.cpp).
extern "C" {

Q_DECL_EXPORT QCoreApplication *kiila_report_application(int &argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every page fills and frees the same large buffers (its contents, their compressed form):
    // kept by the allocator instead of handed back to the system and asked for again, they
    // spare a tenth of a page's time in page faults. The memory stays that of one page.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    // The offscreen platform's remarks (no raise(), no runtime folder) are not the user's
    // business; errors still show.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "kiila-calc: %s\n", qPrintable(text));
    });
    return new QApplication(argc, argv);
}

Q_DECL_EXPORT cli::Report *kiila_report_start(const QCommandLineParser &parser,
                                              const QString &project, std::string &usageError)
{
    const QString path = parser.value("report");
    if (path.isEmpty()) {
        usageError = "--report: give the name of the PDF file";
        return nullptr;
    }
    auto report = std::make_unique<cli::PdfReport>(path, parser.value("lang"), project,
                                                   parser.isSet("details"));
    usageError = report->check(!parser.isSet("project") && parser.isSet("design"));
    return usageError.empty() ? report.release() : nullptr;
}
}
