// Design files in the main window: open and save (Ctrl+O, Ctrl+S, Ctrl+Shift+S), the five
// most recent designs (a submenu) and the last folder (kept in the settings), the context menu of
// the window's background (which also prints or saves the report with its details page,
// Ctrl+Shift+P), a file dropped on the window, the file's name in the title and the
// question before the changes to a design file are lost.

#include "forms/names.h"
#include "mainwindow/mainwindow.h"

#include "forms/keys.h"
#include "forms/zoom.h"
#include "lang/languagefile.h"
#include "lang/languagetable.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace mainwindow {

namespace ctl = forms::names::Form1;

namespace {

constexpr int RecentCount = 5;
const char RecentKey[] = "designs/recent";
const char FolderKey[] = "designs/folder";
const char ZoomKey[] = "windows/zoom";

// A menu entry's text with the key of its command beside it.
QString withKey(const QString &text, const QKeySequence &keys)
{
    return text + u'\t' + keys.toString(QKeySequence::NativeText);
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// A name given without a suffix gets the design file's.
QString withSuffix(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + QLatin1String(designfile::Suffix);
}

bool isDesignFile(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String(designfile::Suffix),
                                            Qt::CaseInsensitive) == 0;
}

// What leaving a field writes for the text: a text that is not one number stays as it is.
QString settledText(const QString &text)
{
    const calc::ReadNumber read = calc::readNumber(text.toStdString());
    if (read.reading == calc::Reading::NotNumber || read.reading == calc::Reading::Ambiguous)
        return text;
    return QString::fromStdString(calc::writtenForm(read.value));
}

// The one local design file of a drag, else empty.
QString droppedDesign(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !isDesignFile(url.toLocalFile()))
        return {};
    return url.toLocalFile();
}

// The settings (the recent designs, the last folder) are one file of the user's, used only while
// it is a regular file, or a link to one the user owns, of no more than five names and a folder
// take: a named pipe there would block the window for good, a link to a device would have the
// device replaced by a regular file, a huge file would delay every open. Anything else is said
// once on stderr, and the program goes on without reading or saving its settings.
constexpr qint64 MaxSettingsSize = 128 * 1024;

// Where QSettings keeps the program's own settings. Named so, only that file is read (not the
// organisation's or the system's beside it).
QString settingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           QCoreApplication::organizationName() + u'/' + QCoreApplication::applicationName() +
           QStringLiteral(".conf");
}

// Why the settings file is not used; empty when it is (also when there is none yet). QSettings
// also reads the lock file it keeps beside it, when that is there.
QString settingsRefusal(const QString &path)
{
    for (const QString &file : {path, path + QStringLiteral(".lock")}) {
        const QByteArray name = QFile::encodeName(file);
        const QString quoted = u'\'' + file + QStringLiteral("' ");
        struct stat link;
        if (::lstat(name.constData(), &link) != 0) {
            if (errno == ENOENT)
                continue;
            return quoted + QStringLiteral("cannot be looked at: ") +
                   QString::fromLocal8Bit(std::strerror(errno));
        }
        struct stat status = link;
        const bool isLink = S_ISLNK(link.st_mode);
        if (isLink && ::stat(name.constData(), &status) != 0)
            return quoted + QStringLiteral("is a symbolic link to nothing that can be read");
        if (!S_ISREG(status.st_mode))
            return quoted + (isLink ? QStringLiteral("is a symbolic link to ") +
                                          outfile::notRegular(status.st_mode).mid(3)
                                    : outfile::notRegular(status.st_mode));
        if (isLink && status.st_uid != ::geteuid())
            return quoted + QStringLiteral("is a symbolic link to a file of another user");
        if (status.st_size > MaxSettingsSize)
            return quoted + QStringLiteral("is larger than settings grow (%1 bytes, at most %2)")
                                .arg(status.st_size)
                                .arg(MaxSettingsSize);
    }
    return {};
}

// The settings, or nothing when their file is refused; each refusal is said once.
std::unique_ptr<QSettings> settings()
{
    static QString said;
    const QString path = settingsPath();
    const QString refused = settingsRefusal(path);
    if (refused.isEmpty())
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (refused != said) {
        said = refused;
        qWarning("kiila: settings not used: %s", qPrintable(refused));
    }
    return nullptr;
}

QString lastFolder()
{
    const auto kept = settings();
    const QString folder = kept ? kept->value(QLatin1String(FolderKey)).toString() : QString();
    return folder.isEmpty() ? QDir::homePath() : folder;
}

// The folder of `path` is where the file dialogs start next.
void rememberFolder(const QString &path)
{
    if (const auto kept = settings())
        kept->setValue(QLatin1String(FolderKey), QFileInfo(path).absolutePath());
}

void setRecent(const QStringList &recent)
{
    if (const auto kept = settings())
        kept->setValue(QLatin1String(RecentKey), recent);
}

} // namespace

QStringList MainWindow::recentDesigns()
{
    const auto kept = settings();
    if (!kept)
        return {};
    QStringList recent = kept->value(QLatin1String(RecentKey)).toStringList();
    recent.removeAll(QString());
    return recent.mid(0, RecentCount);
}

// The commands of the files keep their shortcuts while the menu is closed.
void MainWindow::createFileCommands()
{
    setAcceptDrops(true);
    // A field holds what a design file keeps, no more: a text cut by the field would be
    // calculated and saved otherwise than the file holds it.
    for (const design::Input &input : design::Inputs)
        if (auto *edit = qobject_cast<QLineEdit *>(field(input.field)->widget())) {
            edit->setMaxLength(designfile::MaxTextLength);
            edit->installEventFilter(this);
        }
    const auto command = [this](const QKeySequence &keys, auto handler) {
        auto *action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
        return action;
    };
    m_openAction = command(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { openDesignAsked(); });
    m_saveAction = command(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveDesign(); });
    m_saveAsAction =
        command(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { saveDesignAs(); });
    command(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undoArrangementChoice(); });
    command(QKeySequence(Qt::CTRL | Qt::Key_K), [this] {
        if (isEnabled())
            openLoadCases();
    });
    // As the print command, only while it could be clicked.
    command(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), [this] {
        if (forms::clickable(*control(ctl::ImgPrint)))
            printWithDetails();
    });

    // The zoom of the windows is kept from run to run; every window has its keys.
    forms::Zoom &zoom = forms::Zoom::instance();
    if (const auto kept = settings())
        zoom.setPercent(kept->value(QLatin1String(ZoomKey), forms::NoZoom).toInt());
    connect(&zoom, &forms::Zoom::changed, this, [](int percent) {
        if (const auto kept = settings())
            kept->setValue(QLatin1String(ZoomKey), percent);
    });
}

designfile::Contents MainWindow::designContents() const
{
    designfile::Contents contents;
    contents.arrangement = m_tapaus;
    contents.cracked = m_concreteState == calc::Cracked;
    for (int i = 0; i < design::InputCount; ++i)
        contents.texts[std::size_t(i)] = field(design::Inputs[i].field)->text();
    contents.project = m_project;
    if (m_cases.size() > 1) {
        contents.cases = m_cases;
        for (const int i : designfile::LoadInputs)
            contents.texts[std::size_t(i)].clear(); // the cases hold them
    }
    return contents;
}

// The design is put in as the user would put it in: the arrangement's box clicked (which empties
// the fields and the results), the concrete's button, the texts typed; then the calculate
// command, with its notice or messages.
bool MainWindow::openDesign(const QString &path)
{
    // A file that cannot be read changes nothing and asks nothing; another design in the
    // window's place loses the changes as an exit would: the same question.
    QString error;
    const std::optional<designfile::Contents> contents =
        designfile::read(path, error, texts::of(m_language.language()));
    if (!contents) {
        m_platform.messageBox(this, error, title());
        return false;
    }
    if (!mayEnd())
        return false;
    // The fields the arrangement does not use stay empty, as its choice leaves them: a text a
    // hand-edited file holds there is not read (kiila-calc --design does not read it either).
    designfile::Contents opened = *contents;
    for (int i = 0; i < design::InputCount; ++i)
        if (!design::uses(opened.arrangement, design::Inputs[i]))
            opened.texts[std::size_t(i)].clear();
    for (int l = 0; l < designfile::LoadCount; ++l)
        if (!design::uses(opened.arrangement, design::Inputs[designfile::LoadInputs[l]]))
            for (designfile::CaseTexts &loadCase : opened.cases)
                loadCase.loads[std::size_t(l)].clear();
    // The load fields show the first case.
    m_cases = opened.cases.isEmpty()
                  ? QList<designfile::CaseTexts>{{casewindow::defaultName(0), {}}}
                  : opened.cases;
    m_selectedCase = 0;
    for (int l = 0; l < designfile::LoadCount && !opened.cases.isEmpty(); ++l)
        opened.texts[std::size_t(designfile::LoadInputs[l])] =
            opened.cases.first().loads[std::size_t(l)];
    chooseArrangement(opened.arrangement);
    m_cleared.reset(); // the question has been asked: the design given up is not kept for Undo
    ImgNO_Click(opened.cracked ? 0 : 1);
    for (int i = 0; i < design::InputCount; ++i)
        field(design::Inputs[i].field)->setText(opened.texts[std::size_t(i)]);
    m_project = opened.project;
    if (m_casesWindow)
        m_casesWindow->setCases(m_cases, m_selectedCase);
    designOpened(path, designContents());
    ImgCalc_Click();
    return true;
}

void MainWindow::designOpened(const QString &path, const designfile::Contents &contents)
{
    m_designPath = QFileInfo(path).absoluteFilePath();
    m_savedContents = contents;
    rememberDesign(m_designPath);
    showTitle();
}

void MainWindow::rememberDesign(const QString &path)
{
    QStringList recent = recentDesigns();
    recent.removeAll(path);
    recent.prepend(path);
    setRecent(recent.mid(0, RecentCount));
    rememberFolder(path);
}

print::Printing::Files MainWindow::printFiles() const
{
    return {lastFolder, rememberFolder, [this] { return m_designPath; }};
}

void MainWindow::openDesignAsked()
{
    if (!isEnabled())
        return;
    const QString path = m_platform.openDesignPath(this, lastFolder(),
                                                   m_language.ownText(texts::Text::DesignFilter));
    if (!path.isEmpty())
        openDesign(path);
}

bool MainWindow::saveDesign()
{
    if (!isEnabled())
        return false;
    if (m_designPath.isEmpty())
        return saveDesignAs();
    return writeDesign(m_designPath);
}

bool MainWindow::saveDesignAs()
{
    if (!isEnabled())
        return false;
    const QString suggested = m_designPath.isEmpty()
                                  ? QStringLiteral("design.%1").arg(designfile::Suffix)
                                  : fileName(m_designPath);
    const QString path = withSuffix(m_platform.saveDesignPath(
        this, lastFolder(), m_language.ownText(texts::Text::DesignFilter), suggested));
    return !path.isEmpty() && writeDesign(path);
}

// The file never takes the place of a language file the program reads.
bool MainWindow::writeDesign(const QString &path)
{
    QList<outfile::Input> inputs;
    for (const QString &file : lang::findFiles(m_platform.programFolder()))
        if (const auto in =
                outfile::input(file, QStringLiteral("the language file '%1'").arg(file)))
            inputs << *in;
    const designfile::Contents contents = designContents();
    const QString failure =
        designfile::write(path, contents, inputs, texts::of(m_language.language()));
    if (!failure.isEmpty()) {
        m_platform.messageBox(this, failure, title());
        return false;
    }
    designOpened(path, contents);
    return true;
}

void MainWindow::printWithDetails()
{
    printing()->printReport(reportData(m_designPath.isEmpty() ? QString() : m_project),
                            print::Printing::Pages::ReportAndDetails);
}

void MainWindow::saveReportAsPdf()
{
    printing()->saveReportAsPdf(reportData(m_project));
}

QString MainWindow::title() const
{
    return m_language.ownText(texts::Text::TitleMain);
}

// The design's file before the program's title, marked while it has changes.
void MainWindow::showTitle()
{
    const QString shown = m_designPath.isEmpty()
                              ? title()
                              : QStringLiteral("%1 - %2").arg(fileName(m_designPath), title());
    setCaption(hasChanges() ? u'*' + shown : shown);
}

// Whether the design differs from the one the window started with or last opened or saved. A
// field's text counts as leaving the field writes it: "1.50" is "1.5", the empty text "0".
bool MainWindow::hasChanges() const
{
    designfile::Contents now = designContents();
    designfile::Contents saved = m_savedContents;
    for (designfile::Contents *contents : {&now, &saved}) {
        for (QString &text : contents->texts)
            text = settledText(text);
        for (designfile::CaseTexts &loadCase : contents->cases)
            for (QString &text : loadCase.loads)
                text = settledText(text);
    }
    return now != saved;
}

// True when the program may end, or another design take the window's: the design is as the
// window started with it or as its file holds it, or the user saved it or let the changes go.
bool MainWindow::mayEnd()
{
    if (!hasChanges())
        return true;
    using texts::Text;
    const QString question =
        m_designPath.isEmpty()
            ? m_language.ownText(Text::DesignUnsaved)
            : m_language.ownText(Text::DesignChanged).arg(fileName(m_designPath));
    switch (m_platform.messageBox(this, question, title(),
                                  forms::Platform::Buttons::SaveDiscardCancel)) {
    case forms::Platform::Answer::Save:
        return saveDesign();
    case forms::Platform::Answer::Discard:
        return true;
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_ending && !mayEnd()) {
        event->ignore();
        return;
    }
    forms::Form::closeEvent(event);
}

// Fields take their own right-click; the rest of the window opens the menu. A new menu each
// time, in the language of the moment; it is not modal, so nothing waits on it.
void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    using texts::Text;
    delete m_menu;
    m_menu = new QMenu(this);
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *undo = m_menu->addAction(
        withKey(m_language.ownText(Text::MenuUndo), QKeySequence(Qt::CTRL | Qt::Key_Z)));
    undo->setEnabled(canUndo());
    connect(undo, &QAction::triggered, this, &MainWindow::undoArrangementChoice);
    m_menu->addSeparator();
    m_openAction->setText(m_language.ownText(Text::MenuOpen));
    m_saveAction->setText(m_language.ownText(Text::MenuSave));
    m_saveAsAction->setText(m_language.ownText(Text::MenuSaveAs));
    m_menu->addAction(m_openAction);
    m_menu->addAction(m_saveAction);
    m_menu->addAction(m_saveAsAction);
    // The recent designs in a submenu of their own, so that the entries below do not move as
    // the list grows; without any, the submenu is there but disabled.
    QMenu *recentMenu = m_menu->addMenu(m_language.ownText(Text::MenuRecent));
    const QStringList recent = recentDesigns();
    recentMenu->setEnabled(!recent.isEmpty());
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString path = recent.at(i);
        // An ampersand of the name is shown, not taken for the entry's key.
        QAction *entry = recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(fileName(path).replace(u'&', "&&")));
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, path] {
            // A design that is gone leaves the list; one that cannot be read now may be read
            // later and stays.
            if (!openDesign(path) && !QFileInfo::exists(path)) {
                QStringList left = recentDesigns();
                left.removeAll(path);
                setRecent(left);
            }
        });
    }
    m_menu->addSeparator();
    connect(m_menu->addAction(withKey(m_language.ownText(Text::MenuLoadCases),
                                      QKeySequence(Qt::CTRL | Qt::Key_K))),
            &QAction::triggered, this, &MainWindow::openLoadCases);
    m_menu->addSeparator();
    connect(m_menu->addAction(m_language.ownText(Text::MenuSavePdf)), &QAction::triggered, this,
            &MainWindow::saveReportAsPdf);
    connect(m_menu->addAction(
                withKey(m_language.ownText(Text::MenuPrint), QKeySequence(Qt::CTRL | Qt::Key_P))),
            &QAction::triggered, this, &MainWindow::ImgPrint_Click);
    connect(m_menu->addAction(withKey(m_language.ownText(Text::MenuPrintDetails),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P))),
            &QAction::triggered, this, &MainWindow::printWithDetails);
    connect(
        m_menu->addAction(withKey(m_language.ownText(Text::MenuHelp), QKeySequence(Qt::Key_F1))),
        &QAction::triggered, this, &MainWindow::ImgHelp_Click);
    m_menu->addSeparator();
    // The zoom's entries, each disabled where it would change nothing.
    const int percent = qRound(zoom() * 100);
    const auto zoomEntry = [this](Text text, QKeyCombination keys, bool enabled, int direction) {
        QAction *entry = m_menu->addAction(withKey(m_language.ownText(text), QKeySequence(keys)));
        entry->setEnabled(enabled);
        connect(entry, &QAction::triggered, this, [this, direction] { zoomBy(direction); });
    };
    zoomEntry(Text::MenuZoomIn, Qt::CTRL | Qt::Key_Plus, percent < std::end(forms::ZoomSteps)[-1],
              +1);
    zoomEntry(Text::MenuZoomOut, Qt::CTRL | Qt::Key_Minus, percent > forms::ZoomSteps[0], -1);
    zoomEntry(Text::MenuZoomReset, Qt::CTRL | Qt::Key_0, percent != forms::NoZoom, 0);
    m_menu->addSeparator();
    connect(m_menu->addAction(
                withKey(m_language.ownText(Text::MenuExit), QKeySequence(Qt::CTRL | Qt::Key_Q))),
            &QAction::triggered, this, &MainWindow::ImgExit_Click);
    m_menu->popup(event->globalPos());
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedDesign(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedDesign(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openDesign(path);
}

} // namespace mainwindow
