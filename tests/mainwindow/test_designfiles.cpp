// Design files in the main window, driven as a user drives them: the shortcuts typed on the
// window, the context menu opened by a right-click, files dropped on it, real files on disk in
// a folder of the test's own. The settings (recent designs, last folder) live in that folder
// too.

#include "designfile/designfile.h"
#include "forms/zoom.h"
#include "mainwindow/mainwindow.h"
#include "outputtargets.h"
#include "print/reportdata.h"
#include "windowdriver.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using mainwindow::MainWindow;
using Answer = forms::Platform::Answer;

namespace {

// One design per arrangement: every input it uses (and no other), the concrete both ways.
struct Sample
{
    int arrangement;
    bool cracked;
    const char *texts[design::InputCount]; // in the order of design::Inputs
};

constexpr Sample Samples[] = {
    {1, false, {"200", "200", "", "", "10", "3", "", ""}},
    {2, true, {"100", "100", "150", "", "3", "2", "20", ""}},
    {3, false, {"150", "120", "130", "", "6", "1.5", "10", ""}},
    {4, true, {"180", "180", "", "120", "8", "2", "", "5"}},
    {5, false, {"90", "300", "", "100", "4", "4", "", "0"}},
    {6, true, {"250", "90", "110", "110", "12", "0", "15", "15"}},
    {7, false, {"300", "300", "200", "200", "30", "9", "10", "20"}},
};

// Everything the window shows of a design and its results.
struct Shown
{
    int tapaus;
    calc::ConcreteState state;
    QStringList fields;
    QStringList results;
    QList<int> pictures;

    friend bool operator==(const Shown &, const Shown &) = default;
};

char *toString(const Shown &shown)
{
    return QTest::toString(QStringLiteral("case %1, %2, fields %3, results %4")
                               .arg(shown.tapaus)
                               .arg(shown.state == calc::Cracked ? "cracked" : "non-cracked")
                               .arg(shown.fields.join(u'|'), shown.results.join(u'|')));
}

} // namespace

class TestDesignFiles : public QObject, protected WindowDriver<MainWindow>
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void roundTrip_data();
    void roundTrip();
    void brokenFile_data();
    void brokenFile();
    void failedSave_data();
    void failedSave();
    void saveAsAndRecent();
    void goneRecentDesignLeavesTheList();
    void settingsFile_data();
    void settingsFile();
    void contextMenu_data();
    void contextMenu();
    void menuEntries();
    void zoomIsKeptFromRunToRun();
    void drop_data();
    void drop();
    void exitQuestion_data();
    void exitQuestion();
    void unsavedDesignAsks_data();
    void unsavedDesignAsks();
    void resultsPanelGoesWithTheSize_data();
    void resultsPanelGoesWithTheSize();
    void undoArrangementChoice_data();
    void undoArrangementChoice();
    void undoOnlyBeforeNewInput();
    void openingAnotherAsks_data();
    void openingAnotherAsks();
    void projectNameOffered();
    void reportSaysWhyThereIsNoAnchor_data();
    void reportSaysWhyThereIsNoAnchor();
    void editedFieldPrintsTheNumberCalculated();
    void grabMenu();
    void kiilaCalcReadsTheSameDesign_data();
    void kiilaCalcReadsTheSameDesign();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void enter(const Sample &sample)
    {
        click("ImgSIT", sample.arrangement - 1);
        click("ImgNO", sample.cracked ? 0 : 1);
        for (int i = 0; i < design::InputCount; ++i)
            if (text(design::Inputs[i].field)->isEnabled())
                type(design::Inputs[i].field, QString::fromUtf8(sample.texts[i]));
        click("ImgCalc");
    }
    Shown shown() const
    {
        Shown s{m_w->tapaus(), m_w->concreteState(), {}, {}, {}};
        for (const design::Input &input : design::Inputs)
            s.fields << text(input.field)->text();
        for (const char *row : {"veto_leikkaus", "leikkaus", "epak"})
            for (int i = 1; i <= calc::SizeCount; ++i)
                s.results << c(QLatin1String(row), i)->caption();
        for (const char *label : {"Label17", "Label18", "Label20", "label21", "Label2", "Label12"})
            s.results << c(QLatin1String(label))->caption();
        for (int k = 0; k <= forms::LastPicture; ++k)
            if (c("Picture1", k)->isVisible())
                s.pictures << k;
        return s;
    }
    void keys(QKeyCombination combination)
    {
        QTest::keyClick(m_w.get(), combination.key(), combination.keyboardModifiers());
    }
    // A right-click at a point of the window, delivered where the display delivers it.
    void rightClick(QPoint at)
    {
        QWidget *target = m_w->childAt(at);
        if (!target)
            target = m_w.get();
        QContextMenuEvent event(QContextMenuEvent::Mouse, target->mapFrom(m_w.get(), at),
                                m_w->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
    }
    // The text of a page of a PDF file, as Poppler reads it.
    static QString pdfText(const QString &pdf, int page)
    {
        QProcess pdftotext;
        pdftotext.start("pdftotext",
                        {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
        pdftotext.waitForFinished();
        return QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    }
    QStringList menuTexts() const
    {
        QStringList texts;
        for (const QAction *action : m_w->contextMenu()->actions())
            if (!action->isSeparator())
                texts << (action->shortcut().isEmpty()
                              ? action->text()
                              : action->text() + u'\t' + action->shortcut().toString());
        return texts;
    }
    // An entry of the menu or of its submenus.
    QAction *menuEntry(const QString &textOf) const
    {
        QList<QAction *> actions = m_w->contextMenu()->actions();
        for (qsizetype i = 0; i < actions.size(); ++i) {
            QAction *action = actions.at(i);
            if (action->text().section(u'\t', 0, 0) == textOf) // the text before its key
                return action;
            if (action->menu())
                actions << action->menu()->actions();
        }
        return nullptr;
    }
    bool open()
    {
        if (!openWindow())
            return false;
        m_platform.folder = m_dir.path(); // no language files: the captions stay as built
        return true;
    }

    QTemporaryDir m_dir;
    QString m_title;
    QString m_settings; // the settings file
};

// The settings go into the test's folder; the first QSettings of the run fixes where.
void TestDesignFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    QCoreApplication::setOrganizationName(QStringLiteral("kiila-test"));
    m_settings = QSettings().fileName();
    QVERIFY2(m_settings.startsWith(m_dir.path()), qPrintable(m_settings));
}

void TestDesignFiles::init()
{
    QSettings().clear();
    QVERIFY(open());
    m_title = m_w->caption();
}

void TestDesignFiles::cleanup()
{
    m_w.reset();
    // What a row of settingsFile put in the settings' place; QSettings would block on a pipe.
    for (const QString &file : {m_settings, m_settings + QStringLiteral(".lock")})
        if (!QFileInfo(file).isFile() || QFileInfo(file).isSymLink())
            QFile::remove(file);
}

void TestDesignFiles::roundTrip_data()
{
    QTest::addColumn<int>("sample");
    for (int i = 0; i < int(std::size(Samples)); ++i)
        QTest::addRow("arrangement %d", Samples[i].arrangement) << i;
}

// Saved by Ctrl+S (which asks for the name the first time), opened by a new window as the
// program opens the file it is started with: the same fields, results, messages and title.
void TestDesignFiles::roundTrip()
{
    QFETCH(int, sample);
    enter(Samples[sample]);
    const Shown before = shown();
    const auto messages = m_platform.messages;
    m_platform.savePath = path(QStringLiteral("design-%1").arg(sample));
    keys(Qt::CTRL | Qt::Key_S);
    const QString file = m_platform.savePath + QStringLiteral(".kiila");
    QVERIFY(QFileInfo(file).isFile());
    QCOMPARE(m_platform.suggestedNames, QStringList{"design.kiila"});
    QCOMPARE(m_w->caption(), QFileInfo(file).fileName() + " - " + m_title);
    QCOMPARE(m_w->designPath(), file);

    // A second Ctrl+S writes to the same file without asking.
    keys(Qt::CTRL | Qt::Key_S);
    QCOMPARE(m_platform.suggestedNames.size(), 1);
    QCOMPARE(m_platform.messages, messages);

    QVERIFY(open());
    QCOMPARE(m_w->caption(), m_title);
    QVERIFY(m_w->openDesign(file));
    QCOMPARE(shown(), before);
    QCOMPARE(m_platform.messages, messages);
    QCOMPARE(m_w->caption(), QFileInfo(file).fileName() + " - " + m_title);
}

void TestDesignFiles::brokenFile_data()
{
    QTest::addColumn<QByteArray>("bytes"); // the file's contents, when `make` is empty
    QTest::addColumn<QString>("make");
    QTest::addColumn<QString>("reason");
    designfile::Contents good;
    good.arrangement = 4;
    const QByteArray bytes = designfile::encode(good);
    QTest::newRow("missing") << QByteArray() << "none"
                             << "No such file";
    QTest::newRow("folder") << QByteArray() << "folder"
                            << "not a regular file";
    QTest::newRow("link to /dev/zero") << QByteArray() << "zero"
                                       << "not a regular file";
    QTest::newRow("not JSON") << QByteArray("arrangement = 4\n") << ""
                              << "not JSON";
    QTest::newRow("truncated") << bytes.left(bytes.size() / 2) << ""
                               << "not JSON";
    QTest::newRow("newer version")
        << QByteArray(bytes).replace("\"version\": 1", "\"version\": 3") << ""
        << "newer";
    QTest::newRow("arrangement 8")
        << QByteArray(bytes).replace("\"arrangement\": 4", "\"arrangement\": 8") << ""
        << "is 8, not 1 to 7";
    // The field would hold the first 32767 characters: "100" and blanks, another design.
    good.texts[0] = "100" + QString(40000, u' ') + "e-2";
    QTest::newRow("field longer than the window's") << designfile::encode(good) << ""
                                                    << "longer than the 32767 a field holds";
}

// Opened by Ctrl+O: one message naming the file, and the window as it was.
void TestDesignFiles::brokenFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, make);
    QFETCH(QString, reason);
    const QString file = path(QStringLiteral("broken.kiila"));
    QFile::remove(file);
    QDir(file).removeRecursively();
    if (make == "folder")
        QVERIFY(QDir().mkpath(file));
    else if (make == "zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
    else if (make.isEmpty()) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    }
    enter(Samples[1]);
    type(1, QStringLiteral("0"));
    const Shown before = shown();
    const auto messages = m_platform.messages.size();

    m_platform.openPath = file;
    keys(Qt::CTRL | Qt::Key_O);
    QCOMPARE(m_platform.messages.size(), messages + 1);
    const QString message = m_platform.messages.constLast().first;
    QVERIFY2(message.contains(file) && message.contains(reason), qPrintable(message));
    QCOMPARE(shown(), before);
    QCOMPARE(m_w->caption(), u'*' + m_title); // the typed design is still not saved
    QVERIFY(m_w->designPath().isEmpty());
    QVERIFY(MainWindow::recentDesigns().isEmpty());
}

void TestDesignFiles::failedSave_data()
{
    QTest::addColumn<Target>("target");
    QTest::newRow("folder") << Target::Folder;
    QTest::newRow("read-only folder") << Target::ReadOnlyFolder;
    QTest::newRow("file on a read-only file system") << Target::ReadOnlyFile;
    QTest::newRow("loop of links") << Target::LinkLoop;
    QTest::newRow("full file system") << Target::FullDisk;
    QTest::newRow("a language file") << Target::Input;
}

// Saving under a name that cannot be written says why; the design's own file and its name in
// the title stay, and nothing is left where the save failed.
void TestDesignFiles::failedSave()
{
    QFETCH(Target, target);
    QTemporaryDir folder;
    const QString language = folder.filePath(QStringLiteral("english.txt"));
    {
        QFile file(language);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("lines\r\n") == 7);
    }
    m_platform.folder = folder.path();
    enter(Samples[0]);
    const QString kept = path(QStringLiteral("kept.kiila"));
    m_platform.savePath = kept;
    keys(Qt::CTRL | Qt::Key_S);
    QFile keptFile(kept);
    QVERIFY(keptFile.open(QIODevice::ReadOnly));
    const QByteArray keptBytes = keptFile.readAll();
    keptFile.close();

    const OutputTarget out(target, folder.path(), language);
    if (!out.skip().isEmpty())
        QSKIP(qPrintable(out.skip()));
    QVERIFY2(out.error().isEmpty(), qPrintable(out.error()));
    const auto before = folderState(out.folder());
    // More than the full file system takes.
    text(4)->setText(QString(30000, u'9'));
    text(5)->setText(QString(30000, u'9'));
    m_platform.savePath = out.path();
    keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    QCOMPARE(m_platform.messages.size(), 1);
    QVERIFY2(m_platform.messages[0].first.startsWith(
                 QStringLiteral("cannot write '%1'").arg(out.path())),
             qPrintable(m_platform.messages[0].first));
    QCOMPARE(folderState(out.folder()), before);
    QVERIFY(keptFile.open(QIODevice::ReadOnly));
    QCOMPARE(keptFile.readAll(), keptBytes);
    QCOMPARE(m_w->designPath(), kept);
    QCOMPARE(m_w->caption(), "*kept.kiila - " + m_title); // the changes are not saved
    QCOMPARE(MainWindow::recentDesigns(), QStringList{kept});
}

// Save as always asks, suggesting the file's name and starting in the last folder; the recent
// designs are the last five, newest first, each once.
void TestDesignFiles::saveAsAndRecent()
{
    enter(Samples[0]);
    QVERIFY(QDir().mkpath(path("a")));
    QStringList saved;
    for (const char *name : {"one", "two", "three", "one", "four", "five", "six"}) {
        m_platform.savePath = path(QStringLiteral("a/%1.kiila").arg(QLatin1String(name)));
        keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        saved.removeAll(m_platform.savePath);
        saved.prepend(m_platform.savePath);
    }
    QCOMPARE(m_platform.messages.size(), 0);
    QCOMPARE(m_platform.suggestedNames.mid(0, 3),
             (QStringList{"design.kiila", "one.kiila", "two.kiila"}));
    QCOMPARE(m_platform.designFolders.constLast(), path("a"));
    QCOMPARE(MainWindow::recentDesigns(), saved.mid(0, 5));

    // The list and the folder outlast the window.
    QVERIFY(open());
    QCOMPARE(MainWindow::recentDesigns(), saved.mid(0, 5));
    keys(Qt::CTRL | Qt::Key_O); // cancelled
    QCOMPARE(m_platform.designFolders, QStringList{path("a")});
    QCOMPARE(m_w->caption(), m_title);
}

void TestDesignFiles::goneRecentDesignLeavesTheList()
{
    enter(Samples[2]);
    for (const char *name : {"gone.kiila", "here.kiila"}) {
        m_platform.savePath = path(QLatin1String(name));
        keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    }
    QVERIFY(QFile::remove(path("gone.kiila")));
    rightClick({20, 740});
    QVERIFY(m_w->contextMenu());
    QAction *gone = menuEntry(QStringLiteral("&2 gone.kiila"));
    QVERIFY(gone);
    const auto messages = m_platform.messages.size();
    gone->trigger();
    QCOMPARE(m_platform.messages.size(), messages + 1);
    QVERIFY(m_platform.messages.constLast().first.contains(path("gone.kiila")));
    QCOMPARE(MainWindow::recentDesigns(), QStringList{path("here.kiila")});
}

void TestDesignFiles::settingsFile_data()
{
    QTest::addColumn<QString>("make");   // what is made in the settings file's place
    QTest::addColumn<QString>("reason"); // after the file's name; none when it is used
    QTest::newRow("a link to a file of the user's") << "link"
                                                    << "";
    QTest::newRow("named pipe") << "fifo"
                                << "is a named pipe, not a regular file";
    QTest::newRow("link to a device") << "device"
                                      << "is a symbolic link to a character device, not a regular "
                                         "file";
    QTest::newRow("link to a file of another user")
        << "other"
        << "is a symbolic link to a file of another user";
    QTest::newRow("50 MB") << "large"
                           << "is larger than settings grow (52428800 bytes";
    QTest::newRow("named pipe as its lock") << "lock"
                                            << "is a named pipe, not a regular file";
}

// The settings file is used only while it is a regular file (or a link to one of the user's own)
// of a size the settings reach: anything else is said once on stderr and left as it is, and the
// design opens without being remembered. Hostile files cost no more than that message: before,
// a pipe blocked the window for good and a link to a device had the device replaced.
void TestDesignFiles::settingsFile()
{
    QFETCH(QString, make);
    QFETCH(QString, reason);
    QTemporaryDir other;
    const QByteArray settings = QFile::encodeName(m_settings);
    const QString target = other.filePath(QStringLiteral("target"));
    QFile::remove(m_settings); // as the window found it at first
    bool made = QDir().mkpath(QFileInfo(m_settings).path());
    if (make == "link" || make == "other") {
        QFile file(target);
        made = file.open(QIODevice::WriteOnly) && file.write("[designs]\n") > 0;
        file.close();
        if (make == "other") {
            if (::geteuid() != 0)
                QSKIP("only root makes a file of another user");
            made = made && ::chown(QFile::encodeName(target).constData(), 65534, 65534) == 0;
        }
        made = made && QFile::link(target, m_settings);
    } else if (make == "fifo") {
        made = ::mkfifo(settings.constData(), 0644) == 0;
    } else if (make == "lock") {
        made = ::mkfifo((settings + ".lock").constData(), 0644) == 0;
    } else if (make == "device") {
        // Only root makes a node; anyone else cannot replace /dev/null either.
        const QString node = ::geteuid() == 0 ? target : QStringLiteral("/dev/null");
        if (::geteuid() == 0)
            made = ::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        made = made && QFile::link(node, m_settings);
    } else if (make == "large") {
        QFile file(m_settings);
        made = file.open(QIODevice::WriteOnly) && file.resize(50 * 1024 * 1024);
    }
    QVERIFY(made);
    const auto before = folderState(QFileInfo(m_settings).path());
    const auto targetBefore = folderState(other.path());

    const QString design = path(QStringLiteral("design.kiila"));
    QCOMPARE(designfile::write(design, designfile::Contents{}), QString());
    if (!reason.isEmpty()) {
        const QString said = QStringLiteral("kiila: settings not used: '%1' ")
                                 .arg(make == "lock" ? m_settings + ".lock" : m_settings) +
                             reason;
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(u'^' + QRegularExpression::escape(said)));
    }
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^kiila: settings")));
    QVERIFY(m_w->openDesign(design));
    QCOMPARE(m_w->designPath(), design);
    if (reason.isEmpty()) {
        QCOMPARE(MainWindow::recentDesigns(), QStringList{design});
        // Saved into the file the link names; the link stays.
        QCOMPARE(QFile::symLinkTarget(m_settings), target);
        QVERIFY(QFileInfo(target).size() > 10);
        return;
    }
    QCOMPARE(MainWindow::recentDesigns(), QStringList());
    keys(Qt::CTRL | Qt::Key_O); // asks in the home folder; cancelled
    QCOMPARE(m_platform.designFolders, QStringList{QDir::homePath()});
    QCOMPARE(folderState(QFileInfo(m_settings).path()), before);
    QCOMPARE(folderState(other.path()), targetBefore);
}

void TestDesignFiles::contextMenu_data()
{
    QTest::addColumn<int>("flag"); // the language's flag: 0 Russian, 1 English, 2 Finnish
    QTest::addColumn<QStringList>("entries");
    const QStringList english{"Undo\tCtrl+Z",
                              "Open…\tCtrl+O",
                              "Save\tCtrl+S",
                              "Save as…\tCtrl+Shift+S",
                              "Recent designs",
                              "Load cases…\tCtrl+K",
                              "Save report as PDF…",
                              "Print\tCtrl+P",
                              "Print with details\tCtrl+Shift+P",
                              "Help\tF1",
                              "Zoom in\tCtrl++",
                              "Zoom out\tCtrl+-",
                              "Actual size\tCtrl+0",
                              "Exit\tCtrl+Q"};
    QTest::newRow("English") << 1 << english;
    // The desktop names the keys in Finnish, where Qt's Finnish texts are installed.
    const QString finnishShift =
        QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_fi.qm")
            ? "Ctrl+Vaihto"
            : "Ctrl+Shift";
    QTest::newRow("Russian falls back to English") << 0 << english;
    QTest::newRow("Finnish") << 2
                             << QStringList{"Kumoa\tCtrl+Z",
                                            "Avaa…\tCtrl+O",
                                            "Tallenna\tCtrl+S",
                                            "Tallenna nimellä…\tCtrl+Shift+S",
                                            "Viimeisimmät mitoitukset",
                                            "Kuormitustapaukset…\tCtrl+K",
                                            "Tallenna raportti PDF-tiedostoksi…",
                                            "Tulosta\tCtrl+P",
                                            "Tulosta laskelmineen\t" + finnishShift + "+P",
                                            "Ohje\tF1",
                                            "Suurenna\tCtrl++",
                                            "Pienennä\tCtrl+-",
                                            "Todellinen koko\tCtrl+0",
                                            "Lopeta\tCtrl+Q"};
}

// A right-click on the background opens the menu in the program's language; one on a field
// opens the field's own menu. The recent designs are a submenu, disabled while there are none,
// so that the entries below it stay where they are.
void TestDesignFiles::contextMenu()
{
    QFETCH(int, flag);
    QFETCH(QStringList, entries);
    m_w->ImgLanguage_Click(flag);
    rightClick({20, 740});
    QTRY_VERIFY(m_w->contextMenu() && m_w->contextMenu()->isVisible());
    QCOMPARE(menuTexts(), entries);
    QAction *recent = menuEntry(entries[4]);
    QVERIFY(recent->menu());
    QVERIFY(!recent->isEnabled());
    m_w->contextMenu()->close();
    QTRY_VERIFY(!m_w->contextMenu());
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));

    m_platform.savePath = path("R&D.kiila");
    keys(Qt::CTRL | Qt::Key_S);

    QWidget *field = text(1)->widget();
    rightClick(field->mapTo(m_w.get(), field->rect().center()));
    QVERIFY(!m_w->contextMenu());
    if (QWidget *own = QApplication::activePopupWidget())
        own->close();

    rightClick({20, 740});
    QVERIFY(m_w->contextMenu());
    QTRY_VERIFY(m_w->contextMenu()->isVisible());
    QCOMPARE(menuTexts(), entries);
    recent = menuEntry(entries[4]);
    QVERIFY(recent->isEnabled());
    QCOMPARE(recent->menu()->actions().size(), 1);
    QCOMPARE(recent->menu()->actions().at(0)->text(), "&1 R&&D.kiila");
    m_w->contextMenu()->close();
    QTRY_VERIFY(!m_w->contextMenu());
}

// The entries do what the window's commands do.
void TestDesignFiles::menuEntries()
{
    QVERIFY(openWindow(forms::findDefinition("FrmPRINT")));
    enter(Samples[3]);
    const auto entry = [this](const char *name) {
        rightClick({20, 740});
        return menuEntry(QString::fromUtf8(name));
    };

    m_platform.savePath = path("menu");
    QVERIFY(entry("Save as…"));
    entry("Save as…")->trigger();
    QVERIFY(QFileInfo(path("menu.kiila")).isFile());

    // The report page as printing fills it and its details page, saved through the PDF path.
    m_platform.pdfPath = path("report.pdf");
    m_platform.writePdf = true;
    entry("Save report as PDF…")->trigger();
    QCOMPARE(m_platform.documents.size(), 1);
    QCOMPARE(m_platform.documents[0].path, path("report.pdf"));
    QCOMPARE(m_platform.documents[0].pages.size(), 2);
    QCOMPARE(pdfText(path("report.pdf"), 1).contains("Calculation in full"), false);
    QVERIFY(pdfText(path("report.pdf"), 2).contains("Calculation in full: CASE 4"));
    QVERIFY(pdfText(path("report.pdf"), 2).contains("The calculation stopped: "));
    // For a look by eye: the pages as they went into the file.
    if (const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR"); !folder.isEmpty()) {
        const QList<QImage> &pages = m_platform.documents[0].pages;
        QVERIFY(pages[0]
                    .copy(QRect(QPoint(), m_w->reportPage()->size()))
                    .save(folder + "/frmprint-menu-pdf.png"));
        QVERIFY(pages[1].save(folder + "/details-menu-pdf.png"));
    }
    QCOMPARE(m_w->reportPage()->control(QStringLiteral("Label17"))->caption(),
             c("Label17")->caption());
    QVERIFY(!m_w->printing()->reportConfirmation());

    entry("Print")->trigger();
    QVERIFY(m_w->printing()->reportConfirmation());
    // While the confirmation keeps the window disabled, its shortcuts do nothing.
    m_platform.savePath = path("while-asked.kiila");
    keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    QVERIFY(!QFileInfo::exists(m_platform.savePath));
    m_w->printing()->reportConfirmation()->close();
    QTRY_VERIFY(m_w->isEnabled());
    QCOMPARE(m_platform.documents.size(), 1);

    // The same confirmation; Yes prints the report page and its details page as one job.
    entry("Print with details")->trigger();
    QPointer<forms::Form> confirmation = m_w->printing()->reportConfirmation();
    QVERIFY(confirmation);
    support::click(*confirmation, QStringLiteral("Command1"));
    QTRY_VERIFY(!confirmation);
    QCOMPARE(m_platform.documents.size(), 2);
    QCOMPARE(m_platform.documents[1].path, QString());
    QCOMPARE(m_platform.documents[1].pages.size(), 2);
    QVERIFY(m_platform.pages.isEmpty());

    // Inputs changed after the calculation: the saved details page says so.
    type(1, "5");
    entry("Save report as PDF…")->trigger();
    QVERIFY(pdfText(path("report.pdf"), 2).contains("The inputs have changed"));

    entry("Exit")->trigger();
    QCOMPARE(m_platform.exits, 1);

    m_platform.openPath = path("menu.kiila");
    click("ImgSIT", 0);
    entry("Open…")->trigger();
    QCOMPARE(m_w->tapaus(), 4);
}

void TestDesignFiles::drop_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("opens");
    const QUrl design = QUrl::fromLocalFile(path("dropped.kiila"));
    QTest::newRow("a design") << QList<QUrl>{design} << true;
    QTest::newRow("upper-case suffix")
        << QList<QUrl>{QUrl::fromLocalFile(path("DROPPED.KIILA"))} << true;
    QTest::newRow("two designs") << QList<QUrl>{design, design} << false;
    QTest::newRow("another kind") << QList<QUrl>{QUrl::fromLocalFile(path("dropped.txt"))} << false;
    QTest::newRow("not a local file")
        << QList<QUrl>{QUrl(QStringLiteral("https://example.invalid/dropped.kiila"))} << false;
}

void TestDesignFiles::drop()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, opens);
    designfile::Contents contents;
    contents.arrangement = 6;
    for (const char *name : {"dropped.kiila", "DROPPED.KIILA", "dropped.txt"})
        QCOMPARE(designfile::write(path(QLatin1String(name)), contents), QString());

    QMimeData data;
    data.setUrls(urls);
    const QPoint at(20, 740);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(m_w.get(), &enter);
    QCOMPARE(enter.isAccepted(), opens);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(m_w.get(), &drop);
    QCOMPARE(m_w->tapaus(), opens ? 6 : 1);
    QCOMPARE(!m_w->designPath().isEmpty(), opens);
}

void TestDesignFiles::exitQuestion_data()
{
    QTest::addColumn<bool>("fromFile"); // the design was opened from a file, else typed
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("closeBox"); // the window's close box, else the exit tab
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("finnish");
    QTest::newRow("never saved") << false << true << false << Answer::Cancel << true << false
                                 << false << false;
    QTest::newRow("never saved, in Finnish")
        << false << true << false << Answer::Cancel << true << false << false << true;
    QTest::newRow("unchanged") << true << false << false << Answer::Cancel << false << true << false
                               << false;
    QTest::newRow("save") << true << true << false << Answer::Save << true << true << true << false;
    QTest::newRow("discard") << true << true << false << Answer::Discard << true << true << false
                             << false;
    QTest::newRow("cancel") << true << true << false << Answer::Cancel << true << false << false
                            << false;
    QTest::newRow("save, in Finnish")
        << true << true << false << Answer::Save << true << true << true << true;
    QTest::newRow("close box, save")
        << true << true << true << Answer::Save << true << true << true << false;
    QTest::newRow("close box, cancel")
        << true << true << true << Answer::Cancel << true << false << false << false;
    QTest::newRow("close box, never saved")
        << false << true << true << Answer::Cancel << true << false << false << false;
}

// Exit asks before changes to the design are lost, and only then; the question names the file
// the design came from.
void TestDesignFiles::exitQuestion()
{
    QFETCH(bool, fromFile);
    QFETCH(bool, changed);
    QFETCH(bool, closeBox);
    QFETCH(Answer, answer);
    const QString file = path("exit.kiila");
    designfile::Contents contents;
    contents.arrangement = 2;
    contents.texts = {"100", "100", "150", "", "3", "2", "20", ""};
    QCOMPARE(designfile::write(file, contents), QString());
    if (fromFile)
        QVERIFY(m_w->openDesign(file));
    else
        enter(Samples[1]);
    if (changed)
        click("ImgNO", 0);
    QFETCH(bool, finnish);
    if (finnish)
        m_w->ImgLanguage_Click(2);
    m_platform.saveAnswer = answer;
    if (closeBox)
        m_w->close();
    else
        click("ImgExit");

    QTEST(m_platform.messages.size() == 1, "asked");
    if (!m_platform.messages.isEmpty() && fromFile)
        QCOMPARE(m_platform.messages[0].first,
                 finnish ? "Mitoitusta on muutettu sen jälkeen, kun se tallennettiin tiedostoon "
                           "exit.kiila.\nTallennetaanko muutokset?"
                         : "The design has changed since it was saved in exit.kiila.\n"
                           "Save the changes?");
    else if (!m_platform.messages.isEmpty())
        QCOMPARE(m_platform.messages[0].first,
                 finnish ? "Mitoitusta ei ole tallennettu.\nTallennetaanko se?"
                         : "The design has not been saved.\nSave it?");
    QTEST(closeBox ? !m_w->isVisible() : m_platform.exits == 1, "ends");
    QString error;
    QTEST(designfile::read(file, error)->cracked, "saved");
}

void TestDesignFiles::unsavedDesignAsks_data()
{
    QTest::addColumn<QString>("done");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("ends");
    QTest::newRow("untouched") << "" << Answer::Cancel << false << true;
    QTest::newRow("fields entered and left, nothing typed")
        << "enter fields" << Answer::Cancel << false << true;
    QTest::newRow("the chosen arrangement and concrete chosen again")
        << "choose again" << Answer::Cancel << false << true;
    QTest::newRow("typed, cancel") << "type" << Answer::Cancel << true << false;
    QTest::newRow("typed, discard") << "type" << Answer::Discard << true << true;
    QTest::newRow("typed, save") << "type" << Answer::Save << true << true;
    QTest::newRow("typed, save, the dialog cancelled")
        << "type, no name" << Answer::Save << true << false;
    QTest::newRow("another arrangement") << "arrangement" << Answer::Cancel << true << false;
    QTest::newRow("typed and saved") << "type, save" << Answer::Cancel << false << true;
    QTest::newRow("opened, 1.50 left as 1.5") << "rewrite" << Answer::Cancel << false << true;
    QTest::newRow("opened, a number changed") << "opened, type" << Answer::Cancel << true << false;
}

// A design the user typed is not lost without a question, whether it has a file or not; one
// the program only rewrote is no change. A "*" in the title marks a design with changes.
void TestDesignFiles::unsavedDesignAsks()
{
    QFETCH(QString, done);
    QFETCH(Answer, answer);
    QFETCH(bool, asked);
    const QString file = path("unsaved.kiila");
    designfile::Contents contents;
    contents.texts = {"200", "200", "", "", "1.50", "3", "", ""};
    QCOMPARE(designfile::write(file, contents), QString());

    if (done.isEmpty()) {
    } else if (done == "enter fields") {
        type(1, QString());
        type(3, QString());
        QCOMPARE(text(1)->text(), "0");
    } else if (done == "choose again") {
        click("ImgSIT", 0);
        click("ImgNO", 1);
    } else if (done.startsWith("type")) {
        type(1, "200");
    } else if (done == "arrangement") {
        click("ImgSIT", 2);
    } else {
        QVERIFY(m_w->openDesign(file));
        type(6, QString());
        QTest::keyClick(text(6)->widget(), Qt::Key_End);
        QTest::keyClicks(text(6)->widget(), done == "rewrite" ? QString() : QStringLiteral("5"));
        type(7, QString()); // leaves NSd
        QCOMPARE(text(6)->text(), done == "rewrite" ? "1.5" : "1.505");
    }
    m_platform.savePath = done == "type, no name" ? QString() : path("saved.kiila");
    if (done == "type, save")
        keys(Qt::CTRL | Qt::Key_S);
    QCOMPARE(m_w->caption().startsWith(u'*'), asked);
    QCOMPARE(m_w->caption().mid(asked ? 1 : 0).endsWith(m_title), true);

    m_platform.saveAnswer = answer;
    click("ImgExit");
    QCOMPARE(m_platform.messages.size(), asked ? 1 : 0);
    QTEST(m_platform.exits == 1, "ends");
    if (answer == Answer::Save && asked && !m_platform.savePath.isEmpty()) {
        QString error;
        QCOMPARE(designfile::read(path("saved.kiila"), error)->texts[0], "200");
        QCOMPARE(m_w->caption(), "saved.kiila - " + m_title);
    }
}

void TestDesignFiles::resultsPanelGoesWithTheSize_data()
{
    QTest::addColumn<int>("next"); // the sample after one with a chosen size
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("panel");
    QTest::newRow("calculated, stopped") << 3 << false << false;
    QTest::newRow("calculated, no size suffices") << 0 << false << false;
    QTest::newRow("calculated again, the size chosen again") << 1 << false << true;
    QTest::newRow("opened, stopped") << 3 << true << false;
    QTest::newRow("opened, no size suffices") << 0 << true << false;
}

// The results panel is shown with a chosen size and goes with it: no empty panel is left on
// screen beside a design that has none.
void TestDesignFiles::resultsPanelGoesWithTheSize()
{
    QFETCH(int, next);
    QFETCH(bool, opened);
    enter(Samples[1]);
    QVERIFY(c("ImgPodlozh")->isVisible());
    QVERIFY(!c("Label17")->caption().isEmpty());

    const Sample &sample = Samples[next];
    if (opened) {
        designfile::Contents contents;
        contents.arrangement = sample.arrangement;
        contents.cracked = sample.cracked;
        for (int i = 0; i < design::InputCount; ++i)
            contents.texts[std::size_t(i)] = QString::fromUtf8(sample.texts[i]);
        const QString file = path("next.kiila");
        QCOMPARE(designfile::write(file, contents), QString());
        m_platform.saveAnswer = Answer::Discard;
        QVERIFY(m_w->openDesign(file));
    } else {
        enter(sample);
    }
    QTEST(c("ImgPodlozh")->isVisible(), "panel");
    QCOMPARE(c("Label17")->caption().isEmpty(), !c("ImgPodlozh")->isVisible());
}

enum class UndoBy { FieldKey, BoxKey, Menu };

void TestDesignFiles::undoArrangementChoice_data()
{
    QTest::addColumn<int>("sample");
    QTest::addColumn<int>("choice"); // the arrangement's box clicked after the calculation
    QTest::addColumn<UndoBy>("by");
    QTest::newRow("a chosen size, Ctrl+Z in the emptied field") << 1 << 5 << UndoBy::FieldKey;
    QTest::newRow("the same arrangement again, the menu") << 5 << 5 << UndoBy::Menu;
    QTest::newRow("a stopped run, the menu") << 3 << 0 << UndoBy::Menu;
    QTest::newRow("no size suffices, Ctrl+Z on the box") << 0 << 6 << UndoBy::BoxKey;
}

// One stray choice of an arrangement empties every field and result; Undo brings all of it
// back as it was, and is then spent. A stopped run's message is not shown again.
void TestDesignFiles::undoArrangementChoice()
{
    QFETCH(int, sample);
    QFETCH(int, choice);
    QFETCH(UndoBy, by);
    enter(Samples[sample]);
    const Shown before = shown();
    const qsizetype messages = m_platform.messages.size();
    const bool panel = c("ImgPodlozh")->isVisible();
    const bool sheetCommand = c("ImgSHOW")->isVisible();
    const QString title = m_w->caption();

    rightClick({20, 740});
    QVERIFY(!menuEntry("Undo")->isEnabled()); // nothing emptied yet
    m_w->contextMenu()->close();
    QTRY_VERIFY(!m_w->contextMenu());
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));

    if (by == UndoBy::BoxKey) {
        QWidget *box = m_w->findChild<QWidget *>(QStringLiteral("ImgSIT(%1)").arg(choice));
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        click("ImgSIT", choice);
    }
    QVERIFY(shown() != before);
    QVERIFY(m_w->canUndo());

    switch (by) {
    case UndoBy::FieldKey:
        QCOMPARE(QApplication::focusWidget(), text(1)->widget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        break;
    case UndoBy::BoxKey:
        m_w->findChild<QWidget *>(QStringLiteral("ImgSIT(%1)").arg(choice))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        break;
    case UndoBy::Menu:
        rightClick({20, 740});
        QVERIFY(menuEntry("Undo")->isEnabled());
        menuEntry("Undo")->trigger();
        break;
    }
    QCOMPARE(shown(), before);
    QCOMPARE(c("ImgPodlozh")->isVisible(), panel);
    QCOMPARE(c("ImgSHOW")->isVisible(), sheetCommand);
    QCOMPARE(m_w->caption(), title);
    QCOMPARE(m_platform.messages.size(), messages);
    for (int i = 0; i < design::InputCount; ++i)
        QCOMPARE(text(design::Inputs[i].field)->isEnabled(),
                 design::uses(Samples[sample].arrangement, design::Inputs[i]));
    QVERIFY(!m_w->canUndo());
}

// Undo never throws away what came after the choice: once a field is typed into or the concrete
// chosen, it is no longer offered, and Ctrl+Z in the field undoes the field's own typing. A
// choice that empties nothing offers nothing.
void TestDesignFiles::undoOnlyBeforeNewInput()
{
    click("ImgSIT", 2);
    QVERIFY(!m_w->canUndo());
    enter(Samples[1]);
    click("ImgSIT", 2);
    QVERIFY(m_w->canUndo());
    click("ImgSIT", 3); // nothing more to lose: the first choice's design is kept
    QVERIFY(m_w->canUndo());
    QTest::keyClicks(text(1)->widget(), "12");
    QVERIFY(!m_w->canUndo());
    QTest::keyClick(text(1)->widget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(text(1)->text(), QString());
    QCOMPARE(m_w->tapaus(), 4);
    keys(Qt::CTRL | Qt::Key_Z);
    QCOMPARE(m_w->tapaus(), 4);

    enter(Samples[1]);
    click("ImgSIT", 2);
    click("ImgNO", Samples[1].cracked ? 1 : 0);
    QVERIFY(!m_w->canUndo());
    rightClick({20, 740});
    QVERIFY(!menuEntry("Undo")->isEnabled());
}

void TestDesignFiles::openingAnotherAsks_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("saved");
    QTest::newRow("save") << Answer::Save << true << true;
    QTest::newRow("discard") << Answer::Discard << true << false;
    QTest::newRow("cancel") << Answer::Cancel << false << false;
}

// Opening another design over a changed one asks as the exit does; cancelled, the window keeps
// its design, its file and its changes.
void TestDesignFiles::openingAnotherAsks()
{
    QFETCH(Answer, answer);
    designfile::Contents first;
    first.arrangement = 2;
    first.texts = {"100", "100", "150", "", "3", "2", "20", ""};
    designfile::Contents second = first;
    second.arrangement = 1;
    const QString firstFile = path("first.kiila");
    const QString secondFile = path("second.kiila");
    QCOMPARE(designfile::write(firstFile, first), QString());
    QCOMPARE(designfile::write(secondFile, second), QString());
    QVERIFY(m_w->openDesign(firstFile));
    click("ImgNO", 0); // cracked: a change

    m_platform.saveAnswer = answer;
    m_platform.openPath = secondFile;
    keys(Qt::CTRL | Qt::Key_O);
    QCOMPARE(m_platform.messages.size(), 1);
    QFETCH(bool, opened);
    QCOMPARE(m_w->designPath(), opened ? secondFile : firstFile);
    QCOMPARE(m_w->tapaus(), opened ? 1 : 2);
    QCOMPARE(m_w->concreteState() == calc::Cracked, !opened);
    QString error;
    QTEST(designfile::read(firstFile, error)->cracked, "saved");
}

// The project name travels with the design: the report's confirmation offers the file's, and
// what is typed there is saved.
void TestDesignFiles::projectNameOffered()
{
    QVERIFY(openWindow(forms::findDefinition("FrmPRINT")));
    designfile::Contents contents;
    contents.texts = {"200", "200", "", "", "10", "3", "", ""};
    contents.project = QStringLiteral("Hall B");
    const QString file = path("project.kiila");
    QCOMPARE(designfile::write(file, contents), QString());
    QVERIFY(m_w->openDesign(file));
    QCOMPARE(m_w->project(), "Hall B");

    click("ImgPrint");
    forms::Form *confirmation = m_w->printing()->reportConfirmation();
    QVERIFY(confirmation);
    forms::Control *entry = confirmation->control(QStringLiteral("Text1"));
    QCOMPARE(entry->text(), "Hall B");
    QCOMPARE(m_w->reportPage()->control(QStringLiteral("LblKomm"))->caption(), "Hall B");
    auto *edit = qobject_cast<QPlainTextEdit *>(entry->widget());
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, QStringLiteral(" 2"));
    support::click(*confirmation, QStringLiteral("Command2"));
    QTRY_VERIFY(m_w->isEnabled());
    QCOMPARE(m_w->project(), "Hall B 2");

    keys(Qt::CTRL | Qt::Key_S);
    QString error;
    QCOMPARE(designfile::read(file, error)->project, "Hall B 2");
}

void TestDesignFiles::reportSaysWhyThereIsNoAnchor_data()
{
    QTest::addColumn<int>("sample");     // entered and calculated, else -1: only typed
    QTest::addColumn<bool>("finnish");   // the Finnish flag clicked before
    QTest::addColumn<QString>("change"); // typed into C1 after the calculation
    QTest::addColumn<QString>("says");   // on the report page, where the drawing would be

    QTest::newRow("chosen") << 1 << false << QString() << QString();
    QTest::newRow("fails every size")
        << 0 << false << QString()
        << QString::fromUtf8(calc::FinnishAdvice.data(), qsizetype(calc::FinnishAdvice.size()));
    QTest::newRow("stopped") << 3 << false << QString()
                             << "Ankkurien M12 arvo s2 kasvatettava minimiarvoon 150 mm";
    QTest::newRow("changed after the calculation")
        << 1 << false << "5"
        << QString::fromUtf8(texts::text(texts::Language::English, texts::Text::ResultStale));
    QTest::newRow("changed after the calculation, Finnish")
        << 1 << true << "5"
        << QString::fromUtf8(texts::text(texts::Language::Finnish, texts::Text::ResultStale));
    QTest::newRow("never calculated")
        << -1 << false << "250"
        << QString::fromUtf8(
               texts::text(texts::Language::English, texts::Text::ResultUncalculated));
}

// The report page, saved as a PDF file and read back, never shows a result that does not belong
// to the inputs: in the drawing's place it says why there is no anchor.
// A field still being edited prints the number it holds: where its 15-digit written form would
// read as another number, every digit, beside the size calculated from it (M8 holds 2.7 kN,
// one step more needs M10).
void TestDesignFiles::editedFieldPrintsTheNumberCalculated()
{
    QVERIFY(openWindow(forms::findDefinition("FrmPRINT")));
    type(1, QStringLiteral("200"));
    type(3, QStringLiteral("200"));
    type(7, QStringLiteral("0"));
    type(6, QStringLiteral("2.7000000000000004"));
    QTest::keyClick(text(6)->widget(), Qt::Key_Return);
    QVERIFY(text(6)->widget()->hasFocus());
    m_platform.pdfPath = path("edited.pdf");
    m_platform.writePdf = true;
    m_w->saveReportAsPdf();
    const QString page = pdfText(path("edited.pdf"), 1);
    QVERIFY2(page.contains(QLatin1String("2.7000000000000006")), qPrintable(page));
    QVERIFY2(page.contains(QLatin1String("Kalvex M 10")), qPrintable(page));
}

void TestDesignFiles::reportSaysWhyThereIsNoAnchor()
{
    QFETCH(int, sample);
    QFETCH(bool, finnish);
    QFETCH(QString, change);
    QFETCH(QString, says);
    QVERIFY(openWindow(forms::findDefinition("FrmPRINT")));
    if (finnish)
        click("ImgLanguage", lang::flagOf(lang::Language::Finnish));
    if (sample >= 0)
        enter(Samples[sample]);
    if (!change.isEmpty())
        type(1, change);
    m_platform.pdfPath = path("why.pdf");
    m_platform.writePdf = true;
    m_w->saveReportAsPdf();
    const QString page = pdfText(path("why.pdf"), 1);
    QVERIFY2(page.contains("Kalvex") == says.isEmpty(), qPrintable(page));
    if (!says.isEmpty())
        QVERIFY2(page.contains(says), qPrintable(page));
    // The details page says the same of a design without a result.
    if (change == "5")
        QVERIFY(pdfText(path("why.pdf"), 2).contains(says));
    if (const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR"); !folder.isEmpty())
        QVERIFY(m_platform.documents.last()
                    .pages[0]
                    .copy(QRect(QPoint(), m_w->reportPage()->size()))
                    .save(folder + "/frmprint-" + QTest::currentDataTag() + ".png"));
}

// Writes the window with its context menu open to $KIILA_GRAB_DIR, for a look by eye.
void TestDesignFiles::grabMenu()
{
    m_platform.savePath = path("grab.kiila");
    enter(Samples[1]);
    keys(Qt::CTRL | Qt::Key_S);
    rightClick({300, 520});
    QTRY_VERIFY(m_w->contextMenu() && m_w->contextMenu()->isVisible());
    QImage image = m_w->grab().toImage();
    {
        QPainter painter(&image);
        painter.drawPixmap(m_w->mapFromGlobal(m_w->contextMenu()->pos()),
                           m_w->contextMenu()->grab());
    }
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    if (!folder.isEmpty())
        QVERIFY(image.save(folder + QStringLiteral("/form1-menu.png")));
    m_w->contextMenu()->close();
}

void TestDesignFiles::kiilaCalcReadsTheSameDesign_data()
{
    QTest::addColumn<int>("sample"); // -1: a file written by hand
    QTest::addColumn<bool>("savedByProgram");
    for (int i = 0; i < int(std::size(Samples)); ++i) {
        QTest::addRow("arrangement %d saved by the program", Samples[i].arrangement) << i << true;
        QTest::addRow("arrangement %d saved by kiila-calc", Samples[i].arrangement) << i << false;
    }
    QTest::newRow("written by hand") << -1 << false;
    QTest::newRow("a field as long as the window's") << -2 << false;
}

// A design file means one design to both programs: after opening it the window calculates the
// same arrangement, concrete state and numbers that kiila-calc --design calculates, whichever of
// the two wrote the file. The file written by hand has texts in the fields its arrangement
// does not use and texts that are not plain numbers; the longest field a file may hold is read
// whole by both ("100", blanks, "e-2": 1, where its start would be 100).
void TestDesignFiles::kiilaCalcReadsTheSameDesign()
{
    QFETCH(int, sample);
    QFETCH(bool, savedByProgram);
    const QString file = path(QStringLiteral("shared.kiila"));
    QFile::remove(file);
    const auto kiilaCalc = [](const QStringList &arguments, QByteArray &out) {
        QProcess process;
        process.start(QStringLiteral(KIILA_CALC), arguments + QStringList{"--lang", "none"});
        const bool ended = process.waitForFinished(30000);
        out = process.readAllStandardOutput();
        return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    };
    QByteArray out;
    if (sample >= 0 && savedByProgram) {
        enter(Samples[sample]);
        m_platform.savePath = file;
        keys(Qt::CTRL | Qt::Key_S);
    } else if (sample >= 0) {
        QStringList options{"--arrangement", QString::number(Samples[sample].arrangement)};
        if (Samples[sample].cracked)
            options << "--cracked";
        for (int i = 0; i < design::InputCount; ++i)
            if (*Samples[sample].texts[i])
                options << "--" + QString::fromLatin1(design::Inputs[i].key.data(),
                                                      qsizetype(design::Inputs[i].key.size()))
                        << QString::fromUtf8(Samples[sample].texts[i]);
        QVERIFY(kiilaCalc(options << "--save" << file, out));
    } else {
        designfile::Contents byHand;
        byHand.arrangement = 1;
        byHand.texts = {" 1 2 0", " 150", "50", "7", "1e1", "2,5", "5", "x"};
        if (sample == -2)
            byHand.texts[0] = "100" + QString(32767 - 6, u' ') + "e-2";
        QCOMPARE(designfile::write(file, byHand), QString());
    }
    QVERIFY(QFileInfo(file).isFile());

    QVERIFY(kiilaCalc({"--design", file, "--json"}, out));
    const QJsonObject json = QJsonDocument::fromJson(out).object();
    QVERIFY(open());
    QVERIFY(m_w->openDesign(file));
    if (sample == -2)
        QCOMPARE(text(1)->text().size(), 32767);
    QCOMPARE(m_w->tapaus(), json.value("arrangement").toInt());
    QCOMPARE(m_w->concreteState() == calc::Cracked, json.value("cracked").toBool());
    const QJsonObject input = json.value("input").toObject();
    for (const design::Input &in : design::Inputs) {
        const QString key = QString::fromLatin1(in.key.data(), qsizetype(in.key.size()));
        // kiila-calc echoes an input the arrangement does not use as null: the window's field
        // is empty, and the calculation reads it as 0.
        QVERIFY2(input.value(key).isDouble() == design::uses(m_w->tapaus(), in), qPrintable(key));
        QCOMPARE(m_w->input().*in.value, input.value(key).toDouble());
    }
}

// The zoom chosen (by a key or the menu) is written to the settings at once; the next run's
// window opens at it. The menu's entry that would change nothing is greyed.
void TestDesignFiles::zoomIsKeptFromRunToRun()
{
    forms::Zoom &zoom = forms::Zoom::instance();
    keys(Qt::CTRL | Qt::Key_Minus);
    QCOMPARE(zoom.percent(), 90);
    QCOMPARE(QSettings().value(QStringLiteral("windows/zoom")).toInt(), 90);
    QCOMPARE(m_w->zoom(), 0.9);

    zoom.setPercent(forms::NoZoom);
    QSettings().setValue(QStringLiteral("windows/zoom"), 200);
    QVERIFY(open());
    QCOMPARE(zoom.percent(), 200);
    QCOMPARE(m_w->size(), QSize(2054, 1536));
    rightClick({40, 1480});
    QTRY_VERIFY(m_w->contextMenu() && m_w->contextMenu()->isVisible());
    QStringList greyed;
    for (const QAction *action : m_w->contextMenu()->actions())
        if (!action->isEnabled() && !action->isSeparator())
            greyed << action->text();
    QCOMPARE(greyed, (QStringList{"Undo\tCtrl+Z", "Recent designs", "Zoom in\tCtrl++"}));
    for (QAction *action : m_w->contextMenu()->actions())
        if (action->text().startsWith(QLatin1String("Zoom out")))
            action->trigger();
    QCOMPARE(zoom.percent(), 175);
    m_w->contextMenu()->close();
    zoom.setPercent(forms::NoZoom);
    QCOMPARE(QSettings().value(QStringLiteral("windows/zoom")).toInt(), 100);
}

QTEST_MAIN(TestDesignFiles)
#include "test_designfiles.moc"
