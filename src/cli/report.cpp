#include "cli/report.h"

#include "calc/numbers.h"
#include "forms/platform.h"
#include "lang/languages.h"
#include "mainwindow/mainwindow.h"
#include "print/confirmations.h"

#include <QApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cstdio>
#include <string_view>

namespace cli {
namespace {

// The main window's fields Text1, Text3 ... Text9, in the order of InputNames.
constexpr int FieldNumbers[] = {1, 3, 4, 5, 6, 7, 8, 9};
static_assert(std::size(FieldNumbers) == std::size(InputNames));

bool isReportArgument(std::string_view argument)
{
    if (!argument.starts_with('-'))
        return false;
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument == "report" || argument.starts_with("report=");
}

} // namespace

std::unique_ptr<QCoreApplication> application(int &argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (isReportArgument(argv[i])) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            // The offscreen platform's remarks (no raise(), no runtime folder) are not the
            // user's business; errors still show.
            qInstallMessageHandler(
                [](QtMsgType type, const QMessageLogContext &, const QString &text) {
                    if (type == QtCriticalMsg || type == QtFatalMsg)
                        std::fprintf(stderr, "kiila-calc: %s\n", qPrintable(text));
                });
            return std::make_unique<QApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

void addReportOptions(QCommandLineParser &parser)
{
    parser.addOption({"report", "", "FILE"});
    parser.addOption({"project", "", "NAME"});
}

bool isReportOption(const QString &name)
{
    return name == QLatin1String("report") || name == QLatin1String("project");
}

// The desktop of the main window: a message box is noted and answered at once, and a printed
// page becomes the next page of the PDF file.
struct Report::Pages : forms::Platform
{
    Pages(const QString &path, const QString &lang, const QString &projectName)
        : folder(lang == QLatin1String("none") ? QString()
                                               : QCoreApplication::applicationDirPath()),
          file(path), project(projectName)
    {
        window = std::make_unique<mainwindow::MainWindow>(*this, language);
        // The program starts in English; "none" finds no file and keeps the built-in texts.
        if (lang == QLatin1String("fin") || lang == QLatin1String("none"))
            window->ImgLanguage_Click(int(lang::Language::Finnish));
        else if (lang == QLatin1String("rus"))
            window->ImgLanguage_Click(int(lang::Language::Russian));
    }

    Answer messageBox(QWidget *, const QString &text, const QString &, Buttons) override
    {
        message = text;
        return Answer::Ok;
    }
    bool printWindow(QWidget &page) override
    {
        if (pages == 0) {
            forms::setUpPdf(writer, page.windowTitle());
            if (!painter.begin(&writer))
                return false;
        } else if (!writer.newPage()) {
            return false;
        }
        forms::paintWindow(page, painter);
        ++pages;
        return file.error() == QFileDevice::NoError;
    }
    // A printer is there: a failure is not followed by the offer of a PDF file.
    bool hasPrinter() const override { return true; }
    QString savePdfPath(QWidget *) override { return {}; }
    bool printWindowToPdf(QWidget &, const QString &) override { return false; }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void exit() override {}
    QString programFolder() const override { return folder; }

    std::string failed(const QString &reason) const
    {
        return "cannot write " + file.fileName().toStdString() + ": " + reason.toStdString();
    }

    QString folder;
    QSaveFile file;
    QPdfWriter writer{&file};
    QPainter painter;
    int pages = 0;
    QString message; // of the last message box
    QString project;
    std::string error;
    lang::LanguageTag language;
    std::unique_ptr<mainwindow::MainWindow> window;
};

Report::Report(std::unique_ptr<Pages> pages) : d(std::move(pages)) {}

Report::~Report() = default;

std::unique_ptr<Report> Report::start(const QCommandLineParser &parser, std::string &usageError)
{
    if (!parser.isSet("report")) {
        if (parser.isSet("project"))
            usageError = "--project goes with --report";
        return nullptr;
    }
    const QString path = parser.value("report");
    if (path.isEmpty() || !qobject_cast<QApplication *>(QCoreApplication::instance())) {
        usageError = "--report: give the name of the PDF file";
        return nullptr;
    }
    auto pages = std::make_unique<Pages>(path, parser.value("lang"), parser.value("project"));
    if (!pages->window->reportPage()->control(QStringLiteral("LblKomm"))->fits(pages->project)) {
        usageError = "--project: the name does not fit the project line of the report";
        return nullptr;
    }
    if (!pages->file.open(QIODevice::WriteOnly)) {
        usageError = pages->failed(pages->file.errorString());
        return nullptr;
    }
    return std::unique_ptr<Report>(new Report(std::move(pages)));
}

// As a user does it: the arrangement, the concrete state, the fields, calculate, print, the
// project name and "Yes".
bool Report::addPage(const Design &design)
{
    mainwindow::MainWindow &window = *d->window;
    window.ImgSIT_Click(design.arrangement - 1);
    window.ImgNO_Click(design.cracked ? 0 : 1);
    calc::DesignInput input = design.input;
    for (int i = 0; i < int(std::size(FieldNumbers)); ++i) {
        forms::Control *field = window.control(QStringLiteral("Text%1").arg(FieldNumbers[i]));
        const double value = inputValue(input, i);
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
        d->error = d->failed(QString::fromLatin1(print::CannotPrint));
        return false;
    }
    confirmation->control(QStringLiteral("Text1"))->setText(d->project);
    const int before = d->pages;
    d->message.clear();
    confirmation->Command1_Click();
    // The confirmation closed; it is deleted here, as the event loop would.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (d->pages == before || d->file.error() != QFileDevice::NoError) {
        d->error = d->failed(d->file.error() != QFileDevice::NoError ? d->file.errorString()
                             : d->message.isEmpty() ? QString::fromLatin1(print::CannotPrint)
                                                    : d->message);
        return false;
    }
    return true;
}

bool Report::finish()
{
    if (d->pages == 0)
        return true;
    if (!d->painter.end() || !d->file.commit()) {
        d->error = d->failed(d->file.errorString());
        return false;
    }
    return true;
}

std::string Report::error() const
{
    return d->error;
}

} // namespace cli
