// Printing into a real queue: the report's print command, its Yes up to the job handed to the
// scheduler and up to the page written by the queue; the data sheet's print command (English,
// answered Yes) up to its page. The queue is the private CUPS scheduler of the print tests
// (tests/print/cupsfixture.h), a generic PDF printer writing to a file. Medians of repeated
// runs, in milliseconds.
//
//   bench_print [runs]      (without a display it runs on the offscreen platform)

#include "benchsupport.h"
#include "cupsfixture.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

using bench::click;
using bench::median;
using bench::msSince;

// The desktop as it is; the message boxes answered Yes and recorded, no file offered.
class Desktop : public forms::DesktopPlatform
{
public:
    Answer messageBox(QWidget *, const QString &text, const QString &, Buttons buttons) override
    {
        if (text == QLatin1String(print::CannotPrint))
            ++failures;
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
    QString savePdfPath(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }

    int failures = 0;
};

// The offscreen platform cannot raise a window; the confirmations ask it to on every print.
void quietRaise(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (message != QLatin1String("This plugin does not support raise()"))
        std::fprintf(stderr, "%s\n", qPrintable(message));
    Q_UNUSED(type);
}

int fail(const QString &why)
{
    std::fprintf(stderr, "%s\n", qPrintable(why));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(quietRaise);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;

    CupsFixture cups;
    if (!cups.start())
        return fail(cups.error());

    Desktop desktop;
    lang::LanguageTag language;
    language.set(lang::Language::English);
    mainwindow::MainWindow window(desktop, language);
    window.showWindow();
    // Arrangement 2, cracked concrete: M12, the plate line and the drawing shown.
    window.ImgSIT_Click(1);
    window.ImgNO_Click(0);
    const std::pair<int, const char *> inputs[] = {{1, "100"}, {3, "100"}, {4, "150"},
                                                   {6, "3"},   {7, "2"},   {8, "0"}};
    for (const auto &[number, text] : inputs)
        window.control(QStringLiteral("Text%1").arg(number))->setText(QString::fromLatin1(text));
    window.ImgCalc_Click();
    if (window.control(QStringLiteral("Label17"))->caption().isEmpty())
        return fail("the calculation chose no size");

    // One print: the command, then Yes up to the job handed over and up to the page spooled.
    struct Run
    {
        double command = 0;
        double handedOver = 0;
        double spooled = 0;
    };
    const auto printReport = [&]() -> std::optional<Run> {
        if (!cups.clearOutput())
            return std::nullopt;
        Run run;
        QElapsedTimer timer;
        timer.start();
        click(window.control(QStringLiteral("ImgPrint")));
        const QPointer<forms::Form> confirmation = window.printing()->reportConfirmation();
        if (!confirmation)
            return std::nullopt;
        run.command = msSince(timer);
        confirmation->control(QStringLiteral("Text1"))
            ->setText(QStringLiteral("Bridge 7 deck railing"));
        timer.restart();
        click(confirmation->control(QStringLiteral("Command1")));
        run.handedOver = msSince(timer);
        if (!cups.waitForPage())
            return std::nullopt;
        run.spooled = msSince(timer);
        while (confirmation)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return run;
    };
    std::vector<Run> reports;
    for (int i = 0; i <= runs; ++i) {
        const std::optional<Run> run = printReport();
        if (!run || desktop.failures)
            return fail("the report did not print: " + cups.error());
        if (i > 0) // the first print loads the printer's settings and the fonts
            reports.push_back(*run);
    }

    click(window.control(QStringLiteral("ImgSHOW")));
    forms::Form *sheet = window.dataSheet();
    if (!sheet)
        return fail("the data sheet did not open");
    std::vector<double> sheets;
    for (int i = 0; i <= runs; ++i) {
        if (!cups.clearOutput())
            return fail("cannot remove the last page");
        QElapsedTimer timer;
        timer.start();
        click(sheet->control(QStringLiteral("ImgPrint")));
        if (!cups.waitForPage() || desktop.failures)
            return fail("the data sheet did not print: " + cups.error());
        if (i > 0)
            sheets.push_back(msSince(timer));
    }

    const auto figure = [&reports](double Run::*field) {
        std::vector<double> values;
        for (const Run &run : reports)
            values.push_back(run.*field);
        return median(values);
    };
    std::printf("platform %s, %d runs, medians\n", qPrintable(QGuiApplication::platformName()),
                runs);
    std::printf("report: print command to confirmation shown  %8.1f ms\n", figure(&Run::command));
    std::printf("report: Yes to job handed to the scheduler   %8.1f ms\n",
                figure(&Run::handedOver));
    std::printf("report: Yes to page spooled                  %8.1f ms\n", figure(&Run::spooled));
    std::printf("data sheet: print command to page spooled    %8.1f ms\n", median(sheets));
    return 0;
}
