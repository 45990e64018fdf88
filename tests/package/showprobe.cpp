// A Qt plugin that the package test loads into the installed kiila through Qt's generic plugin
// mechanism (QT_PLUGIN_PATH and QT_QPA_GENERIC_PLUGINS=kiilashowprobe): when the first window
// comes onto the screen it prints the window's title and size and ends the program. The test so
// sees the main window shown by the packaged program as it is, without a hook in it.

#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QWindow>
#include <cstdio>

namespace {

class ShowProbe : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed() && !m_seen) {
            m_seen = true;
            std::printf("shown: %dx%d %s\n", window->width(), window->height(),
                        qPrintable(window->title()));
            std::fflush(stdout);
            // The window may be exposed before the event loop runs, when exit() would be lost.
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_seen = false;
};

} // namespace

class ShowProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "showprobe.json")

public:
    QObject *create(const QString &, const QString &) override
    {
        auto *probe = new ShowProbe;
        qApp->installEventFilter(probe);
        return probe;
    }
};

#include "showprobe.moc"
