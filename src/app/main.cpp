// kiila: the main window, borderless and of screen size, centred; the program ends with its
// exit tab.

#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
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

    forms::DesktopPlatform platform;
    lang::LanguageTag language;
    mainwindow::MainWindow window(platform, language);
    window.showWindow();
    return QApplication::exec();
}
