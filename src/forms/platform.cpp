#include "forms/platform.h"

#include "forms/form.h"
#include "forms/moduleimage.h"
#include "forms/printer.h"

#include "outfile/outfile.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QToolTip>
#include <QWindow>

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace forms {

namespace {
constexpr int NoteTime = 4000; // milliseconds a note stays
} // namespace

void keepInFrontOf(QWidget &window, QWidget *owner)
{
    QWidget *front = owner ? owner->window() : nullptr;
    if (!front || !front->windowHandle())
        return;
    window.winId();
    if (QWindow *handle = window.windowHandle())
        handle->setTransientParent(front->windowHandle());
}

Platform::Answer DesktopPlatform::messageBox(QWidget *parent, const QString &text,
                                             const QString &title, Buttons buttons)
{
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (buttons == Buttons::YesNo)
        shown = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::SaveDiscardCancel)
        shown = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    QMessageBox box(QMessageBox::NoIcon, title,
                    QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")), shown);
    // The texts are plain, also where they echo what was typed or a file held ("<b>1</b>").
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::SaveDiscardCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    keepInFrontOf(box, parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // A box closed without an answer: the question is taken back.
        return buttons == Buttons::SaveDiscardCancel ? Answer::Cancel : Answer::Ok;
    }
}

QString Platform::openDesignPath(QWidget *, const QString &, const QString &)
{
    return {};
}

QString Platform::saveDesignPath(QWidget *, const QString &, const QString &, const QString &)
{
    return {};
}

QString Platform::openCasesPath(QWidget *, const QString &)
{
    return {};
}

QString Platform::saveCasesPath(QWidget *, const QString &, const QString &)
{
    return {};
}

bool Platform::printPages(const QString &, const QList<PagePainter> &)
{
    return false;
}

QString Platform::printPagesToPdf(const QString &, const QList<PagePainter> &, const QString &)
{
    return QStringLiteral("only single pages are written here");
}

void Platform::beep()
{
    QApplication::beep();
}

PrintFailure Platform::printFailure() const
{
    return {};
}

void Platform::note(QWidget *, const QString &) {}

namespace {

// The tables of load cases are CSV files, a name of the same letters in every language.
const char CasesFilter[] = "CSV (*.csv)";

QString designPath(QWidget *parent, const QString &folder, const QString &filter,
                   const QString &suggested, bool save, const char *suffix = "kiila")
{
    QFileDialog dialog(nullptr, QString(), folder, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QLatin1String(suffix));
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    keepInFrontOf(dialog, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString DesktopPlatform::openDesignPath(QWidget *parent, const QString &folder,
                                        const QString &filter)
{
    return designPath(parent, folder, filter, QString(), false);
}

QString DesktopPlatform::saveDesignPath(QWidget *parent, const QString &folder,
                                        const QString &filter, const QString &suggested)
{
    return designPath(parent, folder, filter, suggested, true);
}

QString DesktopPlatform::openCasesPath(QWidget *parent, const QString &folder)
{
    return designPath(parent, folder, QLatin1String(CasesFilter), QString(), false, "csv");
}

QString DesktopPlatform::saveCasesPath(QWidget *parent, const QString &folder,
                                       const QString &suggested)
{
    return designPath(parent, folder, QLatin1String(CasesFilter), suggested, true, "csv");
}

void paintWindow(QWidget &window, QPainter &painter)
{
    // A window is printed at 100 % whatever its zoom on the screen: the page stays the same.
    auto *form = qobject_cast<Form *>(&window);
    const qreal zoom = form ? form->zoom() : 1;
    if (form)
        form->layOut(1);
    const QSize size = form ? form->unzoomedSize() : window.size();
    const QPaintDevice &device = *painter.device();
    // Design size: the windows are drawn for 96 pixels per inch.
    qreal scale = device.logicalDpiX() / 96.0;
    const QSizeF design = QSizeF(size) * scale;
    const qreal fit = qMin(device.width() / design.width(), device.height() / design.height());
    if (fit < 1)
        scale *= fit;
    painter.save();
    painter.scale(scale, scale);
    window.render(&painter, QPoint(), QRegion(QRect(QPoint(), size)),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.restore();
    if (form)
        form->layOut(zoom);
}

PagePainter windowPage(QWidget &window)
{
    return [&window](QPainter &painter) {
        const bool enabled = window.isEnabled();
        window.setEnabled(true);
        paintWindow(window, painter);
        window.setEnabled(enabled);
    };
}

void setUpPdf(QPdfWriter &writer, const QString &title)
{
    writer.setResolution(1200);
    writer.setCreator(QApplication::applicationName());
    writer.setTitle(title);
}

namespace {

// The pages written into `path` as a PDF file through the checked writer; empty when it was
// written, else why not.
QString writePdf(const QString &title, const QList<PagePainter> &pages, const QString &path,
                 const QPageLayout *layout = nullptr, int resolution = 0)
{
    outfile::OutputFile file(path);
    if (file.start()) {
        QPdfWriter writer(file.device());
        setUpPdf(writer, title);
        if (layout) {
            writer.setPageLayout(*layout);
            writer.setResolution(resolution);
        }
        QPainter painter;
        bool painted = !pages.isEmpty() && painter.begin(&writer);
        for (qsizetype i = 0; painted && i < pages.size(); ++i) {
            painted = i == 0 || writer.newPage();
            if (painted)
                pages.at(i)(painter);
        }
        if (painter.isActive())
            painted = painter.end() && painted;
        if (painted && file.finish())
            return {};
    }
    return QStringLiteral("cannot write '%1': %2")
        .arg(path, file.failure().isEmpty() ? QStringLiteral("the PDF was not completed")
                                            : file.failure());
}

QList<PagePainter> onePage(QWidget &window)
{
    return {[&window](QPainter &painter) { paintWindow(window, painter); }};
}

} // namespace

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

int openPrinterModule(const QString &path, QString &why)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = QStringLiteral("cannot be opened: ") + systemError();
        return -1;
    }
    const auto refuse = [fd, &why](const QString &reason) {
        ::close(fd);
        why = reason;
        return -1;
    };
    struct stat status;
    if (::fstat(fd, &status) != 0)
        return refuse(QStringLiteral("cannot be looked at: ") + systemError());
    // A pipe would block the read, a device give anything; a file cut short would end the
    // program with SIGBUS where the loader maps what is not there.
    if (!S_ISREG(status.st_mode))
        return refuse(outfile::notRegular(status.st_mode));
    if (status.st_size < PrinterLoadedEnd)
        return refuse(QStringLiteral("is not the module built with this program: it has %1 bytes, "
                                     "where that module loads %2")
                          .arg(status.st_size)
                          .arg(PrinterLoadedEnd));
    QByteArray bytes(PrinterLoadedEnd, Qt::Uninitialized);
    for (qint64 done = 0; done < bytes.size();) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return refuse(QStringLiteral("cannot be read: ") +
                          (n < 0 ? systemError() : QStringLiteral("it ended early")));
        done += n;
    }
    if (loadedDigest(bytes) != QByteArray(PrinterDigest))
        return refuse(QStringLiteral("is not the module built with this program: what it loads "
                                     "differs (another version, or a changed file)"));
    return fd;
}

// The module that prints: its entries, none when it could not be loaded.
struct DesktopPlatform::Printer
{
    decltype(&kiila_printer_print) print = nullptr;
    decltype(&kiila_printer_exists) exists = nullptr;
    QString refusal; // why the module is not used
};

DesktopPlatform::DesktopPlatform(const QString &printerModule) : m_printerModule(printerModule) {}

namespace {

// The module at `path`, checked and loaded; null with why not in `why`. What is loaded is the
// file that was checked, through its descriptor, even if another took its name meanwhile.
void *loadPrinterModule(const QString &path, QString &why)
{
    const int fd = openPrinterModule(path, why);
    if (fd < 0)
        return nullptr;
    void *module = ::dlopen(("/proc/self/fd/" + std::to_string(fd)).c_str(), RTLD_NOW | RTLD_LOCAL);
    ::close(fd);
    if (!module) {
        const char *error = ::dlerror();
        why = QStringLiteral("cannot be loaded: ") +
              QString::fromLocal8Bit(error ? error : "the loader gives no reason");
    }
    return module;
}

} // namespace

// Loaded once, on the first call that needs it, and kept for the rest of the run. Without it
// nothing can be printed; the program says so the usual way, and why on stderr.
const DesktopPlatform::Printer &DesktopPlatform::printer() const
{
    if (m_printer)
        return *m_printer;
    auto printer = std::make_shared<Printer>();
    const QString path = m_printerModule.isEmpty() ? QApplication::applicationDirPath() +
                                                         QStringLiteral("/" KIILA_PRINTER_FROM_BIN)
                                                   : m_printerModule;
    QString why;
    if (void *module = loadPrinterModule(path, why)) {
        const auto entry = [module, &why](const char *name) {
            void *found = ::dlsym(module, name);
            if (!found && why.isEmpty())
                why = QStringLiteral("has no entry ") + QLatin1String(name);
            return found;
        };
        printer->print = reinterpret_cast<decltype(printer->print)>(entry("kiila_printer_print"));
        printer->exists =
            reinterpret_cast<decltype(printer->exists)>(entry("kiila_printer_exists"));
        const auto version =
            reinterpret_cast<decltype(&kiila_printer_version)>(entry("kiila_printer_version"));
        if (version && std::strcmp(version(), KIILA_VERSION) != 0)
            why = QStringLiteral("is of version %1, not %2")
                      .arg(QString::fromUtf8(version()), QLatin1String(KIILA_VERSION));
    }
    if (!why.isEmpty()) {
        qWarning("kiila: cannot print: the module '%s' %s", qPrintable(path), qPrintable(why));
        *printer = Printer();
        printer->refusal = QStringLiteral("'%1' %2").arg(path, why);
    }
    m_printer = printer;
    return *m_printer;
}

bool DesktopPlatform::printWindow(QWidget &window)
{
    return printPages(window.windowTitle(), onePage(window));
}

bool DesktopPlatform::printPages(const QString &title, const QList<PagePainter> &pages)
{
    const Printer &module = printer();
    if (!module.print) {
        m_failure = {PrintFailure::Kind::Module, module.refusal};
        return false;
    }
    m_failure = {PrintFailure::Kind::NotSpooled, QString()};
    QString spoolFailure;
    const bool printed = module.print(
        title,
        [&](const QString &path, const QPageLayout &layout, int resolution) {
            spoolFailure = writePdf(title, pages, path, &layout, resolution);
            return spoolFailure.isEmpty();
        },
        &m_failure);
    if (printed)
        m_failure = {};
    else if (m_failure.kind == PrintFailure::Kind::NotSpooled && m_failure.detail.isEmpty())
        m_failure.detail = spoolFailure;
    return printed;
}

bool DesktopPlatform::hasPrinter() const
{
    const Printer &module = printer();
    return module.exists && module.exists();
}

QString DesktopPlatform::savePdfPath(QWidget *parent, const QString &folder,
                                     const QString &suggested, const QString &title)
{
    QFileDialog dialog(nullptr, title, folder, QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    keepInFrontOf(dialog, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString DesktopPlatform::printWindowToPdf(QWidget &window, const QString &path)
{
    return writePdf(window.windowTitle(), onePage(window), path);
}

QString DesktopPlatform::printPagesToPdf(const QString &title, const QList<PagePainter> &pages,
                                         const QString &path)
{
    return writePdf(title, pages, path);
}

// A tooltip in the middle of the window, for a few seconds.
void DesktopPlatform::note(QWidget *parent, const QString &text)
{
    QWidget *window = parent ? parent->window() : nullptr;
    if (!window || !window->isVisible())
        return;
    QToolTip::showText(window->mapToGlobal(window->rect().center()), text, window, QRect(),
                       NoteTime);
}

QDateTime DesktopPlatform::now() const
{
    return QDateTime::currentDateTime();
}

void DesktopPlatform::exit()
{
    QApplication::closeAllWindows();
    QApplication::exit(0);
}

QString DesktopPlatform::programFolder() const
{
    return QApplication::applicationDirPath();
}

} // namespace forms
