// Start-up of the main window against a bare window that only draws a 1024 x 768 picture, the
// calculate click up to the repainted results, and the data sheet and help commands up to the
// first paint of their windows against a bare window with their background; a window counts as
// painted when it has painted and the display has exposed it. Medians of repeated runs, in
// milliseconds.
//
//   bench_mainwindow [runs]      (without a display it runs on the offscreen platform)

#include "benchsupport.h"
#include "forms/artwork/artwork.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::click;
using bench::median;
using bench::msSince;

class SilentPlatform : public forms::Platform
{
public:
    Answer messageBox(QWidget *, const QString &, const QString &, Buttons) override
    {
        return Answer::Ok;
    }
    bool printWindow(QWidget &) override { return false; }
    bool hasPrinter() const override { return false; }
    QString savePdfPath(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString printWindowToPdf(QWidget &, const QString &) override { return QStringLiteral("no"); }
    QDateTime now() const override { return {}; }
    void exit() override {}
    QString programFolder() const override { return {}; }
};

class BareWindow : public QWidget
{
public:
    explicit BareWindow(const char *background = "form1_background")
        : m_picture(artwork::picture(QLatin1String(background)))
    {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setFixedSize(1027, 768);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(192, 192, 192));
        painter.drawPixmap(0, 0, m_picture);
    }

private:
    QPixmap m_picture;
};

// Counts the paint events of one window and whether the display has exposed it.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget *window) : m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    int paints = 0;
    bool exposed = false;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (!m_window)
            return false;
        if (object == m_window.data() && event->type() == QEvent::Paint)
            ++paints;
        else if (event->type() == QEvent::Expose &&
                 object == static_cast<QObject *>(m_window->windowHandle()))
            exposed = true;
        return false;
    }

private:
    QPointer<QWidget> m_window;
};

// Handles events until the window has painted itself once more and, when it is being shown,
// until the display has exposed it: the window's picture is then on the screen. Painting and
// handing the picture to the display happen within the handling of one event, so the wait ends
// as soon as that event has been handled.
void waitForPaint(PaintWatch &watch, bool shown = false)
{
    const int before = shown ? 0 : watch.paints;
    QElapsedTimer limit;
    limit.start();
    while ((watch.paints == before || (shown && !watch.exposed)) && limit.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// The phases of one start-up: create, show, first paint; their sum is the start-up.
struct Phases
{
    double create = 0;
    double show = 0;
    double paint = 0;
    double total() const { return create + show + paint; }
};

// The median of one figure over the runs.
template <class Figure> double median(const std::vector<Phases> &runs, Figure figure)
{
    std::vector<double> values;
    for (const Phases &phases : runs)
        values.push_back(std::invoke(figure, phases));
    return median(values);
}

template <class Make> Phases startUp(Make make)
{
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QWidget> window = make();
    const double created = msSince(timer);
    PaintWatch watch(window.get());
    window->show();
    const double shown = msSince(timer);
    waitForPaint(watch, true);
    const double painted = msSince(timer);
    return {created, shown - created, painted - shown};
}

// A command that opens a window, up to the first paint of that window; then the window is
// closed by its back tab and destroyed.
// The command creates and shows the window (create and show in one phase).
Phases openAndClose(forms::Control *command, const std::function<forms::Form *()> &opened,
                    const char *back)
{
    QElapsedTimer timer;
    timer.start();
    click(command);
    forms::Form *window = opened();
    const double shown = msSince(timer);
    PaintWatch watch(window);
    waitForPaint(watch, true);
    const double painted = msSince(timer);
    QPointer<forms::Form> closing = window;
    click(window->control(QLatin1String(back)));
    while (closing)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return {shown, 0, painted - shown};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 101;
    SilentPlatform platform;
    lang::LanguageTag language;

    const auto makeBare = [] { return std::make_unique<BareWindow>(); };
    const auto makeMain = [&platform, &language] {
        return std::make_unique<mainwindow::MainWindow>(platform, language);
    };
    // The first window of a run loads the fonts and draws the pictures once; both are kept.
    startUp(makeMain);
    startUp(makeBare);

    std::vector<Phases> bare;
    std::vector<Phases> main;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(startUp(makeBare));
        main.push_back(startUp(makeMain));
    }

    // Arrangement 2 with an eccentric tension: all three rows, M8 to M12, the drawing shown.
    mainwindow::MainWindow window(platform, language);
    PaintWatch watch(&window);
    window.show();
    waitForPaint(watch, true);
    window.ImgSIT_Click(1);
    window.ImgNO_Click(0);
    const std::pair<int, const char *> inputs[] = {{1, "100"}, {3, "100"}, {4, "150"},
                                                   {6, "3"},   {7, "2"},   {8, "20"}};
    for (const auto &[number, text] : inputs)
        window.control(QStringLiteral("Text%1").arg(number))->setText(QString::fromLatin1(text));
    forms::Control *calculate = window.control(QStringLiteral("ImgCalc"));
    std::vector<double> clicks;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        click(calculate);
        waitForPaint(watch);
        clicks.push_back(msSince(timer));
    }
    if (window.control(QStringLiteral("Label17"))->caption().isEmpty()) {
        std::fputs("the calculation chose no size\n", stderr);
        return 1;
    }

    // The data sheet of the chosen size and the help window, each against a bare window with
    // its background.
    struct Opening
    {
        const char *name;
        const char *background;
        const char *command;
        const char *back;
        std::function<forms::Form *()> opened;
        // Closing the data sheet hides the commands to it; a calculation shows them again.
        bool calculateFirst;
        std::vector<Phases> bare = {};
        std::vector<Phases> open = {};
    };
    Opening openings[] = {
        {"data sheet", "form2_background", "ImgSHOW", "ImgExit", [&] { return window.dataSheet(); },
         true},
        {"help window", "form3_background", "ImgHelp", "Image1",
         [&] { return window.helpWindow(); }, false},
    };
    for (Opening &o : openings) {
        const auto makeBare = [&o] { return std::make_unique<BareWindow>(o.background); };
        const auto open = [&] {
            // The calculation's repaint of the main window is not part of the opening. A user
            // takes longer to reach the command than the program takes to handle what the
            // calculation left waiting (the main window makes the sheet ready then).
            if (o.calculateFirst) {
                window.ImgCalc_Click();
                waitForPaint(watch);
                QCoreApplication::processEvents();
            }
            return openAndClose(window.control(QLatin1String(o.command)), o.opened, o.back);
        };
        open();
        startUp(makeBare);
        for (int i = 0; i < runs; ++i) {
            o.bare.push_back(startUp(makeBare));
            o.open.push_back(open());
        }
    }

    const double b = median(bare, &Phases::total);
    const double m = median(main, &Phases::total);
    std::printf("platform %s, %d runs, medians\n", qPrintable(QGuiApplication::platformName()),
                runs);
    std::printf("bare window with a 1024x768 picture  %7.2f ms\n", b);
    std::printf("main window start-up                 %7.2f ms  (%.2f x the bare window)\n", m,
                m / b);
    for (const auto &[name, phases] : {std::pair{"bare", &bare}, std::pair{"main", &main}})
        std::printf("  %s: create %.2f, show %.2f, first paint %.2f ms\n", name,
                    median(*phases, &Phases::create), median(*phases, &Phases::show),
                    median(*phases, &Phases::paint));
    std::printf("calculate click to repainted results %7.2f ms\n", median(clicks));
    for (const Opening &o : openings) {
        const double bo = median(o.bare, &Phases::total);
        const double oo = median(o.open, &Phases::total);
        std::printf("%-11s: bare window %.2f ms, command to first paint %.2f ms (%.2f x)\n", o.name,
                    bo, oo, oo / bo);
        std::printf(
            "  bare: create and show %.2f, first paint %.2f ms; window: command (create and "
            "show) %.2f, first paint %.2f ms\n",
            median(o.bare, &Phases::create) + median(o.bare, &Phases::show),
            median(o.bare, &Phases::paint), median(o.open, &Phases::create),
            median(o.open, &Phases::paint));
    }
    return 0;
}
