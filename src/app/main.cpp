// kiila: the main window, borderless and of screen size, centred; the program ends with its
// exit tab. A design file named on the command line opens once the window is up.

#include "app/firstpaint.h"
#include "forms/artwork/artwork.h"
#include "forms/zoom.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

const char Usage[] = "Usage: kiila [--help | --version | FILE.kiila]\n"
                     "\n"
                     "Opens the main window of Kiila, the design calculator for wedge anchors in\n"
                     "concrete, with the design of FILE.kiila when one is given. kiila-calc gives\n"
                     "the same results on the command line.\n"
                     "\n"
                     "  -h, --help  this text\n"
                     "  --version   the version of kiila\n";

// The end mark of the launch benchmark (bench/launch): with KIILA_FIRST_PAINT_EXIT set the
// program writes the time (microseconds since the epoch) at which its window's first paint has
// been handed to the display, and ends.
class FirstPaintExit : public QObject
{
public:
    explicit FirstPaintExit(QWidget &window) : m_window(window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        // A paint on the screen, not a grab of the window.
        if (object != &m_window || event->type() != QEvent::Paint || !m_window.windowHandle() ||
            !m_window.windowHandle()->isExposed())
            return false;
        m_window.removeEventFilter(this);
        // The paint is handed over when its event has been handled. The time is taken before
        // anything the program leaves for after its first paint.
        app::writeTimeAndQuitAfterPaint(this);
        return false;
    }

private:
    QWidget &m_window;
};

// The pictures drawn by the first run of a build are kept in the user's cache folder, one folder
// a build (its version, and its program file's time and size, which every build changes), so
// that later starts draw nothing; the first run of a new build clears the folders of others.
void keepPictures()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QFileInfo program(QCoreApplication::applicationFilePath());
    if (cache.isEmpty() || !program.exists())
        return;
    const QString folder = QStringLiteral("%1/pictures-" KIILA_VERSION "-%2-%3")
                               .arg(cache)
                               .arg(program.lastModified().toMSecsSinceEpoch())
                               .arg(program.size());
    if (!QFileInfo::exists(folder))
        artwork::removeOtherKeptPictures(folder);
    artwork::keepPicturesIn(folder);
}

} // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("kiila " KIILA_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
    }
    // Without a display Qt would abort with a screenful of errors; one line says what to do.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("kiila needs a display; on a machine without one start it under a virtual "
                   "display: xvfb-run -s '-screen 0 1280x1024x24' kiila\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kiila"));
    QApplication::setOrganizationName(QStringLiteral("kiila"));
    keepPictures();

    // On a screen too small for a window at the zoom kept, the window opens smaller.
    forms::Zoom::instance().setFitsScreen(true);
    forms::DesktopPlatform platform;
    lang::LanguageTag language;
    mainwindow::MainWindow window(platform, language);
    std::optional<FirstPaintExit> benchmark;
    if (!qEnvironmentVariableIsEmpty("KIILA_FIRST_PAINT_EXIT"))
        benchmark.emplace(window);
    window.showWindow();
    // Qt has taken its own options out by now; the first other argument is the design.
    const QStringList arguments = QApplication::arguments().mid(1);
    for (const QString &argument : arguments) {
        if (argument.startsWith(u'-'))
            continue;
        QTimer::singleShot(0, &window, [&window, argument] { window.openDesign(argument); });
        break;
    }
    return QApplication::exec();
}
