// The module kiila-report.so, which kiila-calc loads for --report (see report.h).

#include "cli/report.h"
#include "forms/names.h"

#include "calc/numbers.h"
#include "cli/text.h"
#include "cli/writer.h"
#include "designfile/designfile.h"
#include "forms/definitions.h"
#include "forms/platform.h"
#include "forms/widgets.h"
#include "lang/languages.h"
#include "outfile/outfile.h"
#include "print/detailspage.h"
#include "print/reportdata.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>

#include <malloc.h>

namespace cli {

namespace reportCtl = forms::names::FrmPRINT;
namespace {

// The pages of the program's report page, filled from each design and the result kiila-calc
// calculated and wrote for it, into one PDF file.
class PdfReport : public Report, public QObject
{
public:
    // details: each report page followed by the details page of its calculation.
    PdfReport(const QString &path, const QString &lang, const QString &project, bool details)
        : m_file(path), m_project(project), m_details(details), m_page(forms::FrmPRINT)
    {
        // The page is shown on a screen nobody sees: painting it there for every page would
        // cost more than the page itself. It is painted into the file.
        QCoreApplication::instance()->installEventFilter(this);
        // "none" finds no file and keeps the built-in texts.
        const lang::LanguageRow *row = lang == QLatin1String("none")
                                           ? &lang::row(lang::BuiltIn)
                                           : lang::rowOfTag(lang.toStdString());
        if (row)
            m_language = row->language;
        setCaptions(lang == QLatin1String("none"));
        m_page.control(reportCtl::LblKomm)->setCaption(m_project);
        m_page.showWindow();
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
        if (!m_page.control(reportCtl::LblKomm)->fits(m_project))
            return fromFile ? "--design: the file's project name does not fit the project line "
                              "of the report; give another with --project"
                            : "--project: the name does not fit the project line of the report";
        if (!m_file.start())
            return failed(m_file.failure());
        return {};
    }

    void addPage(const design::Design &design, const calc::Result &result,
                 const calc::CasesResult *cases) override;

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

private:
    // The captions of the page in the language: its file's lines over the main window's
    // definition, as the program shows them; the built-in ones without a file. The version is
    // the language's, or English, as the program starts.
    void setCaptions(bool builtInOnly)
    {
        const lang::LanguageRow &row = lang::row(m_language);
        const QString path =
            builtInOnly ? QString()
                        : lang::findFile(QCoreApplication::applicationDirPath(), m_language);
        const QStringList lines = path.isEmpty()
                                      ? QStringList()
                                      : lang::readLines(path, m_language).value_or(QStringList());
        m_captions = print::reportCaptions([&lines](const QString &name, int index) {
            return lang::captionIn(forms::Form1, lines, name, index);
        });
        m_captions.version = QString::fromUtf8(
            row.version ? row.version : lang::row(lang::Language::English).version);
        // The "lbl" captions in the language's character set, once a file set one.
        if (!lines.isEmpty())
            m_labelCharset = row.charset == lang::KeepCharset ? lang::WesternCharset : row.charset;
    }

    // A page into the file; false when it could not be begun.
    bool newPage(const QString &title)
    {
        if (m_pages++ == 0) {
            forms::setUpPdf(m_writer, title);
            return m_painter.begin(&m_writer);
        }
        return m_writer.newPage();
    }

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

    outfile::OutputFile m_file; // the file appears complete, or not at all
    QPdfWriter m_writer{m_file.device()};
    QPainter m_painter;
    int m_pages = 0;
    QString m_project;
    bool m_details;
    std::string m_error;
    lang::Language m_language = lang::Language::English;
    print::ReportCaptions m_captions;
    std::optional<int> m_labelCharset;
    forms::Form m_page;
};

// A field the arrangement does not use stays empty, as the program leaves it: the calculation
// does not read it.
void PdfReport::addPage(const design::Design &design, const calc::Result &result,
                        const calc::CasesResult *cases)
{
    if (!m_error.empty())
        return;
    print::ReportData data;
    data.design = design;
    for (int i = 0; i < design::InputCount; ++i) {
        const design::Input &input = design::Inputs[i];
        if (const std::optional<double> value = cli::usedInput(design, input))
            data.fields[std::size_t(i)] = QString::fromStdString(calc::exactForm(*value));
    }
    data.captions = m_captions;
    data.result = result;
    if (cases)
        data.cases = *cases;
    data.project = m_project;
    data.dateTime = print::dateTimeText(QDateTime::currentDateTime());
    data.language = m_language;
    data.labelCharset = m_labelCharset;
    print::fillReportPage(m_page, data);

    if (!newPage(m_page.windowTitle())) {
        m_error = failed(QStringLiteral("the PDF was not completed"));
        return;
    }
    forms::paintWindow(m_page, m_painter);
    if (m_details) {
        const print::DetailsSource details = print::detailsSource(data);
        for (int page = 0; page < print::detailsPageCount(details); ++page) {
            if (!newPage(m_page.windowTitle())) {
                m_error = failed(QStringLiteral("the PDF was not completed"));
                return;
            }
            print::paintDetailsPage(m_painter, details, page);
        }
    }
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
