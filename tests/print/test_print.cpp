// Printing as a user prints: the print tab of the main window and of the data sheet, the
// confirmations answered with their buttons or their close box, on a fake printer.

#include "datasheet/datasheet.h"
#include "mainwindow/mainwindow.h"
#include "outputtargets.h"
#include "print/print.h"
#include "product/sheettable.h"
#include "windowdriver.h"

#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

using forms::Control;
using forms::Form;
using lang::Language;
using mainwindow::MainWindow;

namespace {

const QString CannotPrint = QStringLiteral("The form can't be printed.");

enum class Way { Yes, No, CloseBox, Failure };

// The close box: the window system asks the window to close.
void closeBox(QWidget *window)
{
    window->windowHandle()->close();
}

// The darkest grey in the rectangle of the image: black text is near 0, the greyed text of a
// disabled window 128, an empty place 255.
int darkest(const QImage &image, const QRect &place)
{
    const QRect rect = place & image.rect();
    int least = 255;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            least = qMin(least, qGray(image.pixel(x, y)));
    return least;
}

QRect rectOf(const forms::Rect &r)
{
    return {r.left, r.top, r.width, r.height};
}

} // namespace

Q_DECLARE_METATYPE(Way)
Q_DECLARE_METATYPE(forms::Rect)
Q_DECLARE_METATYPE(Target)
Q_DECLARE_METATYPE(forms::PrintFailure)

class TestPrint : public QObject, protected WindowDriver<MainWindow>
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void confirmationFollowsLanguage_data();
    void confirmationFollowsLanguage();
    void reportConfirmation_data();
    void reportConfirmation();
    void projectLineFollowsEntry();
    void confirmationKeys_data();
    void confirmationKeys();
    void failureSaysWhy_data();
    void failureSaysWhy();
    void pdfDialogFolderAndName();
    void reportCopiesTheMainWindow();
    void reportBeforeAnyCalculation();
    void sheetPrint_data();
    void sheetPrint();
    void sheetPrintedTwiceThroughConfirmation();
    void pdfOfferWithoutPrinter_data();
    void pdfOfferWithoutPrinter();
    void pdfSaveTargets_data();
    void pdfSaveTargets();

    // Faults of the print path that are mended here.
    void staleDrawingAndPlateAreNotPrinted();
    void resultsOnlyBesideTheirInputs_data();
    void resultsOnlyBesideTheirInputs();
    void closeBoxHidesTheReport();
    void projectEntryRefusesWhatDoesNotFit();
    void longValueIsPrintedWhole();
    void editedFieldKeepsItsText_data();
    void editedFieldKeepsItsText();
    void sheetPrintsTheLastCalculation();
    void confirmationsAnsweredWhileWindowsAreDisabled();
    void desktopMessageBoxOverDisabledWindow();
    void closedWindowsAreSkipped();
    void disabledWindowsDoNotClose();
    void desktopLoadsThePrinterOnFirstUse();
    void desktopWithoutItsPrinterModule_data();
    void desktopWithoutItsPrinterModule();
    void desktopWithoutPrinterPrintsNothing();
    void desktopPdfIsOnePage();
    void desktopPdfDialog();

    void yesAndNoButtonsLookAlike();
    void grabReport();

private:
    Form *report() const { return m_w->reportPage(); }
    Control *r(const char *name, int index = forms::NoIndex) const
    {
        return report()->control(QLatin1String(name), index);
    }
    Form *confirmation() const { return m_w->printing()->reportConfirmation(); }
    Form *sheetConfirmation() const { return m_w->printing()->sheetConfirmation(); }
    void type(QWidget *w, const QString &keys)
    {
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        QTest::keyClicks(w, keys);
    }
    void fill(std::initializer_list<std::pair<int, const char *>> values)
    {
        for (const auto &[number, keys] : values)
            type(text(number)->widget(), QString::fromUtf8(keys));
    }
    // Arrangement 2, cracked: M12 with a plate line.
    void calculateWithPlate()
    {
        click("ImgSIT", 1);
        fill({{1, "100"}, {3, "100"}, {4, "150"}, {6, "3"}, {7, "2"}, {8, "0"}});
        click("ImgNO", 0);
        click("ImgCalc");
    }
    // Arrangement 1, C1 = C2 = 200, NSd = n, V1d = 1.
    void calculateOne(const char *n)
    {
        click("ImgSIT", 0);
        fill({{1, "200"}, {3, "200"}, {6, n}, {7, "1"}});
        click("ImgCalc");
    }
    void printReport()
    {
        click("ImgPrint");
        QVERIFY(confirmation());
        QVERIFY(QTest::qWaitForWindowExposed(confirmation()));
    }
    // Waits until the confirmation has gone, as it is destroyed after it closes.
    void confirmationGone(QPointer<Form> window) { QTRY_VERIFY(!window); }
    datasheet::DataSheet *openSheet()
    {
        click("ImgSHOW");
        datasheet::DataSheet *sheet = m_w->dataSheet();
        return sheet && QTest::qWaitForWindowExposed(sheet) ? sheet : nullptr;
    }
    // After a calculation, the report and the data sheet each asking in its confirmation, the
    // Finnish one for the sheet.
    datasheet::DataSheet *askBoth()
    {
        calculateOne("6");
        datasheet::DataSheet *sheet = openSheet();
        if (!sheet)
            return nullptr;
        printReport();
        m_language.set(Language::Finnish);
        support::click(*sheet, QStringLiteral("ImgPrint"));
        return sheet;
    }
    QTemporaryDir m_dir;
    static forms::Rect frameOf(const Form *sheet)
    {
        const Control *frame = sheet->control(QStringLiteral("Frame1"));
        return {frame->left(), frame->top(), frame->width(), frame->height()};
    }
};

// The settings (the file dialogs' folder) go into the test's folder; the first QSettings of the
// run fixes where.
void TestPrint::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    QCoreApplication::setOrganizationName(QStringLiteral("kiila-test"));
}

void TestPrint::init()
{
    m_language.set(Language::Finnish);
    QVERIFY(openWindow());
}

void TestPrint::cleanup()
{
    m_w.reset();
}

void TestPrint::confirmationFollowsLanguage_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("English") << Language::English << "FrmPRINTeng"
                             << "print";
    QTest::newRow("Finnish") << Language::Finnish << "FrmTULOSTA"
                             << "TULOSTA";
    QTest::newRow("Russian") << Language::Russian << "FrmTULOSTA"
                             << "TULOSTA";
}

void TestPrint::confirmationFollowsLanguage()
{
    QFETCH(Language, language);
    m_language.set(language);
    printReport();
    QTEST(confirmation()->name(), "window");
    QTEST(confirmation()->caption(), "caption");
    QVERIFY(report()->isVisible());
    QVERIFY(!m_w->isEnabled());
    QVERIFY(!report()->isEnabled());
    QVERIFY(confirmation()->isEnabled());
    // The entry starts empty and has the keyboard focus.
    QVERIFY(confirmation()->control(QStringLiteral("Text1"))->text().isEmpty());
}

void TestPrint::reportConfirmation_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<Way>("way");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("messages");
    for (const auto &[language, name] : {std::pair{Language::Finnish, "FrmTULOSTA"},
                                         std::pair{Language::English, "FrmPRINTeng"}}) {
        QTest::addRow("%s yes", name) << language << Way::Yes << 1 << 0;
        QTest::addRow("%s no", name) << language << Way::No << 0 << 0;
        QTest::addRow("%s close box", name) << language << Way::CloseBox << 0 << 0;
        QTest::addRow("%s failure", name) << language << Way::Failure << 0 << 1;
    }
}

// Every way out enables both windows and empties the project line; only Yes prints, with the
// project name on the page and the enabled look.
void TestPrint::reportConfirmation()
{
    QFETCH(Language, language);
    QFETCH(Way, way);
    m_language.set(language);
    calculateWithPlate();
    printReport();
    QPointer<Form> window = confirmation();
    type(window->control(QStringLiteral("Text1"))->widget(), QStringLiteral("Silta 7"));
    QCOMPARE(r("LblKomm")->caption(), "Silta 7");

    m_platform.failPrint = way == Way::Failure;
    if (way == Way::CloseBox)
        closeBox(window);
    else
        support::click(*window,
                       way == Way::No ? QStringLiteral("Command2") : QStringLiteral("Command1"));
    confirmationGone(window);

    QTEST(int(m_platform.pages.size()), "pages");
    QTEST(int(m_platform.messages.size()), "messages");
    if (way == Way::Failure)
        QCOMPARE(m_platform.messages[0].first, CannotPrint);
    QVERIFY(m_w->isEnabled());
    QVERIFY(report()->isEnabled());
    // The page was shown to be printed: it goes with the confirmation, whichever way it closed.
    QVERIFY(!report()->isVisible());
    QVERIFY(r("LblKomm")->caption().isEmpty());
    // A print handed to the printer says so, in the window's language.
    QCOMPARE(m_platform.notes, way == Way::Yes ? QStringList{language == Language::English
                                                                 ? "Sent to the printer."
                                                                 : "Lähetetty tulostimelle."}
                                               : QStringList());
    if (way == Way::Yes) {
        const FakePlatform::Page &page = m_platform.pages[0];
        QCOMPARE(page.window, "FrmPRINT");
        QCOMPARE(page.image.size(), report()->size());
        // The project name in black, although the page was disabled while it printed.
        QVERIFY(darkest(page.image, r("LblKomm")->geometry()) < 64);
        QVERIFY(darkest(page.image, r("Label17")->geometry()) < 64);
    }
    // The next confirmation starts empty.
    printReport();
    QVERIFY(confirmation()->control(QStringLiteral("Text1"))->text().isEmpty());
}

void TestPrint::projectLineFollowsEntry()
{
    printReport();
    QWidget *entry = confirmation()->control(QStringLiteral("Text1"))->widget();
    type(entry, QStringLiteral("Hal"));
    QCOMPARE(r("LblKomm")->caption(), "Hal");
    QTest::keyClick(entry, Qt::Key_Backspace);
    QCOMPARE(r("LblKomm")->caption(), "Ha");
    // The name is one line: a pasted line break is taken back.
    auto *edit = qobject_cast<QPlainTextEdit *>(entry);
    edit->insertPlainText(QStringLiteral("ll\nB"));
    QCOMPARE(r("LblKomm")->caption(), "Ha");
    QCOMPARE(m_platform.beeps, 1);
}

void TestPrint::confirmationKeys_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("keys"); // after the name: "enter", "tab space" or "tab tab space"
    QTest::addColumn<int>("pages");
    for (const auto &[language, name] : {std::pair{Language::Finnish, "FrmTULOSTA"},
                                         std::pair{Language::English, "FrmPRINTeng"}}) {
        QTest::addRow("%s enter", name) << language << "enter" << 1;
        QTest::addRow("%s tab space", name) << language << "tab space" << 1;
        QTest::addRow("%s tab tab space", name) << language << "tab tab space" << 0;
    }
}

// By keyboard alone: the name offered by the design file is selected, so that typing replaces
// it; Enter in the entry confirms, and Tab goes from the entry to Yes, then No.
void TestPrint::confirmationKeys()
{
    QFETCH(Language, language);
    QFETCH(QString, keys);
    m_language.set(language);
    const QString design = m_dir.filePath(QStringLiteral("keys.kiila"));
    m_platform.savePath = design;
    QVERIFY(m_w->saveDesignAs());
    // The project typed for the design's last print is offered with it.
    printReport();
    type(confirmation()->control(QStringLiteral("Text1"))->widget(), QStringLiteral("Hall A"));
    support::click(*confirmation(), QStringLiteral("Command2"));
    confirmationGone(confirmation());
    QCOMPARE(m_w->project(), "Hall A");

    printReport();
    QPointer<Form> window = confirmation();
    QWidget *entry = window->control(QStringLiteral("Text1"))->widget();
    QCOMPARE(QApplication::focusWidget(), entry);
    QCOMPARE(window->control(QStringLiteral("Text1"))->text(), "Hall A");
    QTest::keyClicks(entry, QStringLiteral("Hall B"));
    QCOMPARE(r("LblKomm")->caption(), "Hall B");
    for (const QString &key : keys.split(u' ')) {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        QTest::keyClick(focused, key == "enter" ? Qt::Key_Return
                                 : key == "tab" ? Qt::Key_Tab
                                                : Qt::Key_Space);
    }
    confirmationGone(window);
    QTEST(int(m_platform.documents.size() + m_platform.pages.size()), "pages");
    QVERIFY(m_w->isEnabled() && report()->isEnabled());
    if (!m_platform.pages.isEmpty())
        QVERIFY(darkest(m_platform.pages[0].image, r("LblKomm")->geometry()) < 64);
}

void TestPrint::failureSaysWhy_data()
{
    using Kind = forms::PrintFailure::Kind;
    QTest::addColumn<Language>("language");
    QTest::addColumn<forms::PrintFailure>("failure");
    QTest::addColumn<QString>("why"); // the line under the message; empty: none
    QTest::newRow("no printer") << Language::English << forms::PrintFailure{Kind::NoPrinter, {}}
                                << "No printer is set up.";
    QTest::newRow("no printer, Finnish")
        << Language::Finnish << forms::PrintFailure{Kind::NoPrinter, {}}
        << "Tulostinta ei ole asetettu.";
    QTest::newRow("refused") << Language::English
                             << forms::PrintFailure{Kind::Refused, "'office': Printer stopped"}
                             << "The printer refused the page. 'office': Printer stopped";
    QTest::newRow("refused, Finnish")
        << Language::Finnish << forms::PrintFailure{Kind::Refused, "'office': Printer stopped"}
        << "Tulostin ei ottanut sivua vastaan. 'office': Printer stopped";
    QTest::newRow("module") << Language::Russian
                            << forms::PrintFailure{Kind::Module, "'/x.so' cannot be opened"}
                            << "The printing module is missing or was refused. '/x.so' cannot "
                               "be opened";
    QTest::newRow("spool") << Language::English << forms::PrintFailure{Kind::NotSpooled, {}}
                           << "The page could not be prepared for the printer.";
    QTest::newRow("no reason known") << Language::English << forms::PrintFailure{} << "";
}

// The one message, and why on the line under it; the save dialog offered without a printer
// says that it is the PDF in place of the print.
void TestPrint::failureSaysWhy()
{
    QFETCH(Language, language);
    QFETCH(forms::PrintFailure, failure);
    QFETCH(QString, why);
    m_language.set(language);
    m_platform.failPrint = true;
    m_platform.failure = failure;
    m_platform.printerPresent = failure.kind == forms::PrintFailure::Kind::Refused;
    printReport();
    QPointer<Form> window = confirmation();
    // The message shows over the report page and its confirmation, where the user looks.
    QWidget *activeAtMessage = nullptr;
    bool pageShown = false;
    m_platform.onMessage = [&](const QString &) {
        QApplication::processEvents();
        activeAtMessage = QApplication::activeWindow();
        pageShown = m_w->reportPage()->isVisible();
    };
    support::click(*window, QStringLiteral("Command1"));
    confirmationGone(window);
    QVERIFY(pageShown);
    QVERIFY2(activeAtMessage != m_w.get(), "the main window came in front of the report page");
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(m_platform.messages[0].first, why.isEmpty() ? CannotPrint : CannotPrint + u'\n' + why);
    QVERIFY(m_platform.notes.isEmpty());
    if (m_platform.printerPresent) {
        QCOMPARE(m_platform.pdfQuestions, 0);
        return;
    }
    QCOMPARE(m_platform.pdfDialogs.size(), 1);
    QCOMPARE(m_platform.pdfDialogs[0].title, language == Language::Finnish
                                                 ? "Tallenna PDF-tiedostoksi tulostamisen sijaan"
                                                 : "Save as PDF instead of printing");
}

// The PDF save dialogs start in the folder the file dialogs last used and offer the design
// file's name, or "report"; the folder of a PDF saved is where they start next.
void TestPrint::pdfDialogFolderAndName()
{
    m_language.set(Language::English);
    const QString first = m_dir.filePath(QStringLiteral("first"));
    const QString second = m_dir.filePath(QStringLiteral("second"));
    QVERIFY(QDir().mkpath(first) && QDir().mkpath(second));

    // No design file yet.
    m_platform.pdfPath = first + QStringLiteral("/page.pdf");
    m_w->saveReportAsPdf();
    QCOMPARE(m_platform.pdfDialogs.size(), 1);
    QCOMPARE(m_platform.pdfDialogs[0].name, "report.pdf");
    QCOMPARE(m_platform.pdfDialogs[0].title, "Save report as PDF");
    // The PDF's folder is the one the design dialog starts in.
    m_platform.savePath = second + QStringLiteral("/Hall B.kiila");
    QVERIFY(m_w->saveDesignAs());
    QCOMPARE(m_platform.designFolders.constLast(), first);

    // After the design was saved, in its folder and under its name.
    m_platform.failPrint = true;
    m_platform.printerPresent = false;
    m_platform.pdfPath.clear();
    printReport();
    QPointer<Form> window = confirmation();
    support::click(*window, QStringLiteral("Command1"));
    confirmationGone(window);
    QCOMPARE(m_platform.pdfDialogs.size(), 2);
    QCOMPARE(m_platform.pdfDialogs[1].folder, second);
    QCOMPARE(m_platform.pdfDialogs[1].name, "Hall B.pdf");
    QCOMPARE(m_platform.pdfDialogs[1].title, "Save as PDF instead of printing");
}

// Every caption, field and result of the main window lands on the report control of its role.
void TestPrint::reportCopiesTheMainWindow()
{
    calculateWithPlate();
    QVERIFY(c("Label2")->isVisible());
    printReport();

    const std::pair<const char *, const char *> renamed[] = {
        {"Label12", "Label1"}, {"Label11", "Label3"}, {"Label10", "Label4"}};
    for (const auto &[to, from] : renamed)
        QCOMPARE(r(to)->caption(), c(QLatin1String(from))->caption());
    for (const char *same : {"Label5", "Label6", "Label7", "Label8", "Label9", "Label13", "Label17",
                             "Label18", "Label20", "label21", "KYLLA", "EI"})
        QCOMPARE(r(same)->caption(), c(QLatin1String(same))->caption());
    for (const design::Input &input : design::Inputs)
        QCOMPARE(report()->control(QStringLiteral("Text%1").arg(input.field))->text(),
                 text(input.field)->text());
    for (const char *row : {"veto_leikkaus", "leikkaus", "epak"})
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(r(row, i)->caption(), c(QLatin1String(row), i)->caption());
    QVERIFY(!r("Label17")->caption().isEmpty());
    QCOMPARE(r("veto_leikkaus", 1)->caption(), c("veto_leikkaus", 1)->caption());

    QCOMPARE(r("Label14")->caption(), c("Label2")->caption());
    QVERIFY(r("Label14")->isVisible());
    QVERIFY(r("Pic1")->isVisible());
    QCOMPARE(r("Pic1")->picture(),
             c("Picture1", forms::installationPicture(m_w->sizeNo()))->picture());
    QVERIFY(r("Picture1", forms::arrangementPicture(2))->isVisible());
    // Cracked concrete: the yes answer.
    QVERIFY(r("KYLLA")->isVisible());
    QVERIFY(!r("EI")->isVisible());
    QCOMPARE(r("Lblver")->caption(),
             c("Label11")->caption() + "  (" + c("Label10")->caption() + ")");
    QCOMPARE(r("LblData")->caption(), print::dateTimeText(m_platform.clock));
    QVERIFY(r("LblData")->caption().contains(QLatin1String("14:07:09")));
    QCOMPARE(report()->caption(), c("Label11")->caption());
}

void TestPrint::reportBeforeAnyCalculation()
{
    text(1)->setText(QStringLiteral("250"));
    printReport();
    QCOMPARE(report()->control(QStringLiteral("Text1"))->text(), "250");
    QVERIFY(!r("Pic1")->isVisible());
    QVERIFY(r("veto_leikkaus", 1)->caption().isEmpty());
    QVERIFY(r("Label17")->caption().isEmpty());
    QVERIFY(r("EI")->isVisible());
    QVERIFY(!r("KYLLA")->isVisible());
}

void TestPrint::sheetPrint_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<Way>("way");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<forms::Rect>("after");
    const forms::Rect design = forms::findControl(forms::Form2, "Frame1")->rect;
    const forms::Rect confirmed{1920, 1800, 11715, 7635};
    const QString question = QStringLiteral("           PRINT?");
    QTest::newRow("English yes") << Language::English << Way::Yes << 1 << QStringList{question}
                                 << design;
    QTest::newRow("English no") << Language::English << Way::No << 0 << QStringList{question}
                                << design;
    QTest::newRow("English failure")
        << Language::English << Way::Failure << 0 << QStringList{question, CannotPrint} << design;
    QTest::newRow("Russian yes") << Language::Russian << Way::Yes << 1 << QStringList{question}
                                 << design;
    QTest::newRow("Finnish yes") << Language::Finnish << Way::Yes << 1 << QStringList{}
                                 << confirmed;
    QTest::newRow("Finnish no") << Language::Finnish << Way::No << 0 << QStringList{} << confirmed;
    QTest::newRow("Finnish close box")
        << Language::Finnish << Way::CloseBox << 0 << QStringList{} << confirmed;
    QTest::newRow("Finnish failure")
        << Language::Finnish << Way::Failure << 0 << QStringList{CannotPrint} << confirmed;
}

void TestPrint::sheetPrint()
{
    QFETCH(Language, language);
    QFETCH(Way, way);
    calculateOne("6");
    datasheet::DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    m_language.set(language);
    m_platform.answer = way == Way::No ? FakePlatform::Answer::No : FakePlatform::Answer::Yes;
    m_platform.failPrint = way == Way::Failure;
    // The page shows the title and date lines and the frame in its print layout.
    forms::Rect printed;
    bool linesShown = false;
    m_platform.onPrint = [&](QWidget &) {
        printed = frameOf(sheet);
        linesShown = sheet->control(QStringLiteral("Lblver"))->isVisible() &&
                     sheet->control(QStringLiteral("LblData"))->isVisible();
    };
    support::click(*sheet, QStringLiteral("ImgPrint"));

    if (language == Language::Finnish) {
        QPointer<Form> window = sheetConfirmation();
        QVERIFY(window);
        QCOMPARE(window->name(), "FrmTULOSTA2");
        QVERIFY(!sheet->isEnabled());
        QCOMPARE(rectOf(frameOf(sheet)), QRect(0, 0, 15405, 11530));
        QCOMPARE(sheet->control(QStringLiteral("Lblver"))->caption(),
                 c("Label11")->caption() + "  (" + c("Label10")->caption() + ")");
        if (way == Way::CloseBox)
            closeBox(window);
        else
            support::click(*window, way == Way::No ? QStringLiteral("Command2")
                                                   : QStringLiteral("Command1"));
        confirmationGone(window);
    }

    QTEST(int(m_platform.pages.size()), "pages");
    QStringList messages;
    for (const auto &[message, title] : std::as_const(m_platform.messages))
        messages << message;
    QTEST(messages, "messages");
    if (!messages.isEmpty() && messages[0].contains(QLatin1String("PRINT?")))
        QCOMPARE(m_platform.messages[0].second, "PRINT");
    if (way == Way::Yes) {
        QCOMPARE(rectOf(printed), QRect(0, 0, 15405, 11530));
        QVERIFY(linesShown);
        QCOMPARE(m_platform.pages[0].window, "Form2");
    }
    QFETCH(forms::Rect, after);
    QCOMPARE(rectOf(frameOf(sheet)), rectOf(after));
    QVERIFY(sheet->isEnabled());
    QVERIFY(!sheet->control(QStringLiteral("Lblver"))->isVisible());
    QVERIFY(!sheet->control(QStringLiteral("LblData"))->isVisible());
}

void TestPrint::sheetPrintedTwiceThroughConfirmation()
{
    calculateOne("6");
    datasheet::DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    m_language.set(Language::Finnish);
    for (int time = 1; time <= 2; ++time) {
        support::click(*sheet, QStringLiteral("ImgPrint"));
        QPointer<Form> window = sheetConfirmation();
        QVERIFY(window);
        QCOMPARE(rectOf(frameOf(sheet)), QRect(0, 0, 15405, 11530));
        support::click(*window, QStringLiteral("Command1"));
        confirmationGone(window);
        QCOMPARE(rectOf(frameOf(sheet)), QRect(1920, 1800, 11715, 7635));
    }
    QCOMPARE(m_platform.pages.size(), 2);
}

void TestPrint::pdfOfferWithoutPrinter_data()
{
    QTest::addColumn<bool>("printer");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("saved");
    QTest::newRow("no printer, saved") << false << "/tmp/page.pdf" << 1 << 1;
    QTest::newRow("no printer, cancelled") << false << "" << 1 << 0;
    QTest::newRow("printer failed") << true << "/tmp/page.pdf" << 0 << 0;
}

// Without any printer the same page, project name included, can be saved as a PDF file.
void TestPrint::pdfOfferWithoutPrinter()
{
    QFETCH(bool, printer);
    QFETCH(QString, path);
    m_platform.failPrint = true;
    m_platform.printerPresent = printer;
    m_platform.pdfPath = path;
    printReport();
    QPointer<Form> window = confirmation();
    type(window->control(QStringLiteral("Text1"))->widget(), QStringLiteral("Silta"));
    support::click(*window, QStringLiteral("Command1"));
    confirmationGone(window);

    QCOMPARE(m_platform.messages.size(), 1);
    QTEST(m_platform.pdfQuestions, "questions");
    QTEST(int(m_platform.pdfPages.size()), "saved");
    if (!m_platform.pdfPages.isEmpty()) {
        QCOMPARE(m_platform.pdfPages[0].first, path);
        QCOMPARE(m_platform.pdfPages[0].second.window, "FrmPRINT");
        QVERIFY(darkest(m_platform.pdfPages[0].second.image, r("LblKomm")->geometry()) < 64);
    }
    QVERIFY(m_w->isEnabled() && report()->isEnabled());
    QVERIFY(r("LblKomm")->caption().isEmpty());
}

void TestPrint::pdfSaveTargets_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("failure"); // in the failure message; empty: saved

    const QString sameFile = QStringLiteral("is the same file as the language file '");
    QTest::newRow("new file") << Target::NewFile << QString();
    QTest::newRow("link to a file") << Target::LinkToFile << QString();
    QTest::newRow("language file") << Target::Input << sameFile;
    QTest::newRow("language file through a link") << Target::LinkToInput << sameFile;
    QTest::newRow("language file through a hard link") << Target::HardLinkToInput << sameFile;
    QTest::newRow("named pipe") << Target::Fifo << "is a named pipe, not a regular file";
    QTest::newRow("device") << Target::Device << "is a character device, not a regular file";
    QTest::newRow("socket") << Target::Socket << "is a socket, not a regular file";
    QTest::newRow("folder") << Target::Folder << "is a folder, not a regular file";
    QTest::newRow("read-only folder") << Target::ReadOnlyFolder << "cannot write '";
    QTest::newRow("file on a read-only file system")
        << Target::ReadOnlyFile << ": Read-only file system";
    QTest::newRow("loop of links") << Target::LinkLoop << "is a loop of symbolic links";
    QTest::newRow("full file system") << Target::FullDisk << ": No space left on device";
}

// The page saved without a printer, through the desktop's own PDF writer, onto each kind of
// target: written where a file may be, else the failure message says why, after the first one,
// and everything stays as it was: no file under the name, not a piece of one, nothing replaced.
void TestPrint::pdfSaveTargets()
{
    QFETCH(Target, target);
    QFETCH(QString, failure);
    QTemporaryDir dir;
    QFile language(dir.filePath(QStringLiteral("english.txt"))); // the program reads it
    QVERIFY(language.open(QIODevice::WriteOnly));
    language.write("Kiila\r\n");
    language.close();
    const OutputTarget place(target, dir.path(), language.fileName());
    if (!place.skip().isEmpty())
        QSKIP(qPrintable(place.skip()));
    QVERIFY2(place.error().isEmpty(), qPrintable(place.error()));
    const auto before = folderState(place.folder());
    m_platform.folder = dir.path();
    m_platform.failPrint = true;
    m_platform.printerPresent = false;
    m_platform.writePdf = true;
    m_platform.pdfPath = place.path();

    printReport();
    QPointer<Form> window = confirmation();
    support::click(*window, QStringLiteral("Command1"));
    confirmationGone(window);

    QVERIFY(m_w->isEnabled() && report()->isEnabled());
    if (failure.isEmpty()) {
        QCOMPARE(m_platform.messages.size(), 1);
        QFile file(place.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
        if (target == Target::LinkToFile)
            QCOMPARE(QFile::symLinkTarget(place.path()), dir.filePath(QStringLiteral("old.pdf")));
        return;
    }
    QCOMPARE(m_platform.messages.size(), 2);
    const QString message = m_platform.messages[1].first;
    QVERIFY2(message.startsWith(CannotPrint + u'\n') && message.contains(failure),
             qPrintable(message));
    QCOMPARE(message.count(u'\n'), 1);
    QCOMPARE(folderState(place.folder()), before);
}

// A print whose main window shows no drawing or no plate line prints none, not the previous
// calculation's.
void TestPrint::staleDrawingAndPlateAreNotPrinted()
{
    calculateWithPlate();
    printReport();
    support::click(*confirmation(), QStringLiteral("Command2"));
    QVERIFY(r("Pic1")->isVisible());
    QVERIFY(!r("Label14")->caption().isEmpty());

    // One anchor that M16 does not carry: advice, no drawing, no plate line.
    calculateOne("500");
    QVERIFY(!c("Label2")->isVisible());
    printReport();
    QVERIFY(!r("Pic1")->isVisible());
    QVERIFY(!r("Label14")->isVisible());
    QVERIFY(r("Label14")->caption().isEmpty());
    support::click(*confirmation(), QStringLiteral("Command2"));

    // One anchor that is carried: a drawing, but no plate line.
    calculateOne("1");
    QVERIFY(!c("Label2")->isVisible());
    printReport();
    QVERIFY(r("Pic1")->isVisible());
    QVERIFY(r("Label14")->caption().isEmpty());
}

void TestPrint::resultsOnlyBesideTheirInputs_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("results");
    QTest::newRow("nothing changed") << "" << true;
    QTest::newRow("field retyped, same number") << "retype" << true;
    QTest::newRow("field changed") << "field" << false;
    QTest::newRow("concrete changed") << "concrete" << false;
    QTest::newRow("field being edited") << "editing" << false;
}

// The result part of the page is printed only with the inputs it was calculated from; the field
// being edited counts with the number it holds.
void TestPrint::resultsOnlyBesideTheirInputs()
{
    QFETCH(QString, change);
    calculateWithPlate();
    if (change == QLatin1String("retype")) {
        text(1)->setText(QString());
        fill({{1, "100.0"}});
    } else if (change == QLatin1String("field")) {
        text(6)->setText(QString());
        fill({{6, "4"}});
        QTest::keyClick(text(6)->widget(), Qt::Key_Tab);
    } else if (change == QLatin1String("concrete")) {
        click("ImgNO", 1);
    } else if (change == QLatin1String("editing")) {
        text(3)->setText(QString());
        fill({{3, "120,50"}});
    }
    printReport();

    QFETCH(bool, results);
    QCOMPARE(!r("veto_leikkaus", 1)->caption().isEmpty(), results);
    QCOMPARE(!r("Label17")->caption().isEmpty(), results);
    QCOMPARE(!r("Label18")->caption().isEmpty(), results);
    QCOMPARE(!r("Label14")->caption().isEmpty(), results);
    QCOMPARE(r("Pic1")->isVisible(), results);
    if (change == QLatin1String("editing")) {
        // The page shows the number; the field keeps what was typed.
        QCOMPARE(text(3)->text(), "120,50");
        QCOMPARE(report()->control(QStringLiteral("Text3"))->text(), "120.5");
    }
}

void TestPrint::closeBoxHidesTheReport()
{
    click("ImgSIT", 3);
    printReport();
    support::click(*confirmation(), QStringLiteral("Command2"));
    QPointer<Form> page = report();
    closeBox(page);
    QVERIFY(page);
    QVERIFY(!page->isVisible());
    // Shown again by the next print, with its arrangement picture.
    printReport();
    QVERIFY(page->isVisible());
    QVERIFY(r("Picture1", forms::arrangementPicture(4))->isVisible());
}

void TestPrint::projectEntryRefusesWhatDoesNotFit()
{
    printReport();
    auto *entry =
        qobject_cast<QPlainTextEdit *>(confirmation()->control(QStringLiteral("Text1"))->widget());
    const QString words = QStringLiteral("Sillan 12 kaiteen kiinnitys ");
    type(entry, words);
    QCOMPARE(m_platform.beeps, 0);
    type(entry, words.repeated(11));
    const QString kept = entry->toPlainText();
    // Each refused key is answered with the beep.
    QVERIFY(m_platform.beeps > 0);
    QVERIFY(kept.size() > words.size());
    QVERIFY(kept.size() < words.size() * 12);
    QCOMPARE(r("LblKomm")->caption(), kept);
    // What shows on the line is all that was kept: three lines of its width at most.
    const QFontMetrics metrics(r("LblKomm")->font());
    const QRect line = r("LblKomm")->geometry();
    QVERIFY(metrics.boundingRect(QRect(QPoint(), line.size()), Qt::TextWordWrap, kept).height() <=
            line.height());
    // Deleting still works, without a beep.
    const int beeps = m_platform.beeps;
    QTest::keyClick(entry, Qt::Key_Backspace);
    QCOMPARE(r("LblKomm")->caption(), kept.chopped(1));
    QCOMPARE(m_platform.beeps, beeps);
}

void TestPrint::longValueIsPrintedWhole()
{
    fill({{1, "12.375"}, {3, "1234.5"}});
    printReport();
    for (int number : {1, 3}) {
        auto *field = qobject_cast<QLineEdit *>(
            report()->control(QStringLiteral("Text%1").arg(number))->widget());
        QCOMPARE(field->text(), text(number)->text());
        // The field's frame and the two pixels on each side of its text.
        const int room =
            field->width() -
            2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field) - 4;
        QVERIFY2(QFontMetrics(field->font()).horizontalAdvance(field->text()) <= room,
                 qPrintable(field->text()));
    }
    // A short value keeps the field's own font.
    support::click(*confirmation(), QStringLiteral("Command2"));
    text(1)->setText(QStringLiteral("5"));
    printReport();
    QCOMPARE(report()->control(QStringLiteral("Text1"))->font().pixelSize(), 13);
}

// A calculation made while the sheet's confirmation is open: the page shows the new size's
// title and table together.
void TestPrint::editedFieldKeepsItsText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("printed");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("decimal comma") << QStringLiteral("2,50") << QStringLiteral("2.5");
    QTest::newRow("not a number: as typed") << QStringLiteral("12abc") << QStringLiteral("12abc");
    QTest::newRow("number") << QStringLiteral("250") << QStringLiteral("250");
}

// Printing with the cursor in a field puts the number it holds on the page (a text that is not
// one number as typed); the field itself keeps what was typed, and an empty one still asks for
// its value at the next calculation.
void TestPrint::editedFieldKeepsItsText()
{
    QFETCH(QString, typed);
    fill({{1, "100"}, {6, "3"}, {7, "2"}});
    QWidget *edited = text(3)->widget();
    QTest::mouseClick(edited, Qt::LeftButton, {}, edited->rect().center());
    QTest::keyClicks(edited, typed);
    QCOMPARE(m_w->focusWidget(), edited);
    printReport();
    QTEST(report()->control(QStringLiteral("Text3"))->text(), "printed");
    QCOMPARE(text(3)->text(), typed);
    support::click(*confirmation(), QStringLiteral("Command2"));
    QTRY_VERIFY(!confirmation());
    QCOMPARE(text(3)->text(), typed);
    click("ImgCalc");
    QCOMPARE(bool(m_w->notice()), typed.isEmpty());
}

void TestPrint::sheetPrintsTheLastCalculation()
{
    calculateOne("1");
    const int firstSize = m_w->sizeNo();
    datasheet::DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    m_language.set(Language::Finnish);
    support::click(*sheet, QStringLiteral("ImgPrint"));
    QPointer<Form> window = sheetConfirmation();
    QVERIFY(window);

    text(6)->setText(QString());
    fill({{6, "9"}});
    click("ImgCalc");
    QVERIFY(m_w->sizeNo() != firstSize);
    QString title;
    QString row;
    m_platform.onPrint = [&](QWidget &) {
        title = sheet->control(QStringLiteral("Label1"))->caption();
        row = sheet->control(QLatin1String(product::Columns[0].array), 1)->caption();
    };
    support::click(*window, QStringLiteral("Command1"));
    confirmationGone(window);
    QCOMPARE(title, sheet->control(QStringLiteral("Label1"))->caption());
    QVERIFY(title.contains(QStringLiteral("M %1").arg(QList{0, 8, 10, 12, 16}[m_w->sizeNo()])));
    QCOMPARE(row, QString::fromUtf8(product::entry(m_w->sizeNo(), 1, 0)));
}

// The report's confirmation, the sheet's confirmation and the message boxes stay usable while
// the main window, the report page and the sheet are all disabled.
void TestPrint::confirmationsAnsweredWhileWindowsAreDisabled()
{
    datasheet::DataSheet *sheet = askBoth();
    QVERIFY(sheet);
    QPointer<Form> reportWindow = confirmation();
    QPointer<Form> sheetWindow = sheetConfirmation();
    QVERIFY(reportWindow && sheetWindow);
    QVERIFY(!m_w->isEnabled() && !report()->isEnabled() && !sheet->isEnabled());
    QVERIFY(reportWindow->isEnabled() && sheetWindow->isEnabled());

    support::click(*sheetWindow, QStringLiteral("Command1"));
    confirmationGone(sheetWindow);
    QVERIFY(!m_w->isEnabled() && !report()->isEnabled());
    support::click(*reportWindow, QStringLiteral("Command1"));
    confirmationGone(reportWindow);
    QCOMPARE(m_platform.pages.size(), 2);
    QVERIFY(m_w->isEnabled() && report()->isEnabled() && sheet->isEnabled());
}

// The desktop's message box stays usable when the window it was opened over gets disabled: it
// is no child of that window.
void TestPrint::desktopMessageBoxOverDisabledWindow()
{
    forms::DesktopPlatform desktop;
    bool boxEnabled = false;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        m_w->setEnabled(false);
        boxEnabled = box->isEnabled();
        if (boxEnabled)
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        else
            box->done(QMessageBox::Cancel);
    });
    QCOMPARE(desktop.messageBox(m_w.get(), CannotPrint, QString()), forms::Platform::Answer::Ok);
    QVERIFY(boxEnabled);
}

// A window gone while its confirmation was open is skipped; nothing printed is reported.
void TestPrint::closedWindowsAreSkipped()
{
    calculateOne("6");
    datasheet::DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    m_language.set(Language::Finnish);
    support::click(*sheet, QStringLiteral("ImgPrint"));
    QPointer<Form> window = sheetConfirmation();
    delete sheet;
    support::click(*window, QStringLiteral("Command1"));
    confirmationGone(window);
    QCOMPARE(m_platform.pages.size(), 0);
    QCOMPARE(m_platform.messages.size(), 1);

    printReport();
    window = confirmation();
    delete report();
    support::click(*window, QStringLiteral("Command1"));
    confirmationGone(window);
    QCOMPARE(m_platform.pages.size(), 0);
    QCOMPARE(m_platform.messages.size(), 2);
    QVERIFY(m_w->isEnabled());
}

void TestPrint::disabledWindowsDoNotClose()
{
    datasheet::DataSheet *sheet = askBoth();
    QVERIFY(sheet);
    closeBox(report());
    closeBox(sheet);
    QVERIFY(report()->isVisible());
    QVERIFY(m_w->dataSheet() && sheet->isVisible());
    support::click(*sheetConfirmation(), QStringLiteral("Command2"));
    support::click(*confirmation(), QStringLiteral("Command2"));
    QVERIFY(sheet->isEnabled());
}

// The libraries the process has loaded whose names hold `part`.
static int loaded(const QString &part)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLocal8Bit(maps.readAll()).count(part));
}

// The program starts without Qt Print Support and libcups (and what libcups brings); the first
// question about printing loads them with the module kiila-printer.
void TestPrint::desktopLoadsThePrinterOnFirstUse()
{
    QTemporaryDir folder;
    qputenv("CUPS_SERVER", QFile::encodeName(folder.filePath(QStringLiteral("none.sock"))));
    forms::DesktopPlatform desktop;
    QCOMPARE(loaded(QStringLiteral("libQt6PrintSupport.so")), 0);
    QCOMPARE(loaded(QStringLiteral("libcups.so")), 0);
    QVERIFY(!desktop.hasPrinter());
    QVERIFY(loaded(QStringLiteral("kiila-printer.so")) > 0);
    QVERIFY(loaded(QStringLiteral("libQt6PrintSupport.so")) > 0);
    QVERIFY(loaded(QStringLiteral("libcups.so")) > 0);
}

// Only the module built with the program is loaded, checked before the loader sees it: anything
// else (a file cut short would end the program with SIGBUS, a pipe would block it for good,
// another version crash it) prints nothing and says why once, as without a printer; saving the
// page as a PDF file, which needs no printer, still works. The module stripped, as the package
// installs it, is the same module.
void TestPrint::desktopWithoutItsPrinterModule_data()
{
    QTest::addColumn<QString>("make"); // what is made as kiila-printer.so in the test's folder
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("reason"); // after the module's name; none when it is taken
    const QString other = QStringLiteral("is not the module built with this program");
    QTest::newRow("missing") << ""
                             << "missing/kiila-printer.so"
                             << "cannot be opened: No such file or directory";
    QTest::newRow("not a library") << "text"
                                   << "kiila-printer.so" << other + ": it has 14 bytes";
    // Its size or its digest tells it from the module, by which build is the larger.
    QTest::newRow("a library without the entries")
        << "" << QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqoffscreen.so"
        << other + ": ";
    QTest::newRow("cut short") << "cut"
                               << "kiila-printer.so" << other + ": it has 4096 bytes";
    QTest::newRow("named pipe") << "fifo"
                                << "kiila-printer.so"
                                << "is a named pipe, not a regular file";
    QTest::newRow("folder") << "folder"
                            << "kiila-printer.so"
                            << "is a folder, not a regular file";
    QTest::newRow("another version")
        << "" << KIILA_OTHER_PRINTER << other + ": what it loads differs";
    QTest::newRow("stripped") << "stripped"
                              << "kiila-printer.so"
                              << "";
}

void TestPrint::desktopWithoutItsPrinterModule()
{
    QFETCH(QString, make);
    QFETCH(QString, module);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    qputenv("CUPS_SERVER", QFile::encodeName(folder.filePath(QStringLiteral("none.sock"))));
    QVERIFY(QDir::setCurrent(folder.path()));
    const QString made = folder.filePath(QStringLiteral("kiila-printer.so"));
    QFile built(QStringLiteral(KIILA_PRINTER_MODULE));
    QVERIFY(built.open(QIODevice::ReadOnly));
    QFile file(made);
    if (make == "text" || make == "cut")
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(make == "text" ? QByteArray("not a library\n") : built.read(4096)) > 0);
    else if (make == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(made).constData(), 0644), 0);
    else if (make == "folder")
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("kiila-printer.so")));
    else if (make == "stripped")
        QCOMPARE(QProcess::execute(QStringLiteral(KIILA_STRIP), {"-o", made, built.fileName()}), 0);
    file.close();
    if (QFileInfo(module).isRelative())
        module = folder.filePath(module);
    else
        QVERIFY(QFileInfo::exists(module));
    forms::DesktopPlatform desktop(module);
    // Said once, when the module is first needed.
    if (!reason.isEmpty())
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(u'^' + QRegularExpression::escape(
                                                           QStringLiteral("kiila: cannot print: "
                                                                          "the module '%1' %2")
                                                               .arg(module, reason))));
    else
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    QVERIFY(!desktop.hasPrinter());
    QVERIFY(!desktop.printWindow(*report()));
    QVERIFY(!desktop.printPages(QStringLiteral("page"), {forms::windowPage(*report())}));
    QCOMPARE(desktop.printWindowToPdf(*report(), folder.filePath(QStringLiteral("page.pdf"))),
             QString());
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("page.pdf"))).size() > 0);
    if (reason.isEmpty())
        QVERIFY(loaded(QStringLiteral("kiila-printer.so")) > 0);
}

// Without a default printer nothing is printed and false comes back; Qt's fallback of printing
// into a file is never taken.
void TestPrint::desktopWithoutPrinterPrintsNothing()
{
    QTemporaryDir folder;
    // No scheduler answers there: no printer at all.
    qputenv("CUPS_SERVER", QFile::encodeName(folder.filePath(QStringLiteral("none.sock"))));
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    forms::DesktopPlatform desktop;
    QVERIFY(!desktop.hasPrinter());
    QVERIFY(!desktop.printWindow(*report()));
    QDir::setCurrent(before);
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

// The desktop's save dialog starts in the folder, proposes the name and bears the title given.
void TestPrint::desktopPdfDialog()
{
    QTemporaryDir folder;
    QString folderShown, nameShown, titleShown;
    QTimer::singleShot(0, this, [&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            folderShown = dialog->directory().absolutePath();
            nameShown = QFileInfo(dialog->selectedFiles().value(0)).fileName();
            titleShown = dialog->windowTitle();
            dialog->reject();
        }
    });
    forms::DesktopPlatform desktop;
    QCOMPARE(desktop.savePdfPath(m_w.get(), folder.path(), QStringLiteral("Hall B.pdf"),
                                 QStringLiteral("Save as PDF instead of printing")),
             QString());
    QCOMPARE(folderShown, QDir(folder.path()).absolutePath());
    QCOMPARE(nameShown, "Hall B.pdf");
    QCOMPARE(titleShown, "Save as PDF instead of printing");
}

void TestPrint::desktopPdfIsOnePage()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("report.pdf"));
    calculateWithPlate();
    printReport();
    forms::DesktopPlatform desktop;
    QCOMPARE(desktop.printWindowToPdf(*report(), path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QVERIFY(pdf.startsWith("%PDF-"));
    QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
    // The pictures are drawn as vectors, not placed as bitmaps.
    QVERIFY(!pdf.contains("/Subtype /Image"));
}

// The Finnish Yes button shows its word as a picture; its face is that of the No button beside it.
void TestPrint::yesAndNoButtonsLookAlike()
{
    QVERIFY(askBoth());
    Form *window = sheetConfirmation();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QImage image = window->grab().toImage();
    const QRect yes = window->control(QStringLiteral("Command1"))->geometry();
    const QRect no = window->control(QStringLiteral("Command2"))->geometry();
    // Down the left of each face, clear of the words, and across its middle row.
    QList<QRgb> yesFace, noFace;
    for (int y = 3; y < yes.height() - 3; ++y) {
        yesFace << image.pixel(yes.left() + 6, yes.top() + y);
        noFace << image.pixel(no.left() + 6, no.top() + y);
    }
    QCOMPARE(yesFace, noFace);
    QCOMPARE(image.pixel(yes.left() + 2, yes.center().y()),
             image.pixel(no.left() + 2, no.center().y()));
}

void TestPrint::grabReport()
{
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    calculateWithPlate();
    printReport();
    type(confirmation()->control(QStringLiteral("Text1"))->widget(),
         QStringLiteral("Silta 7, kaiteen kiinnitys"));
    if (folder.isEmpty())
        return;
    QVERIFY(report()->grab().save(folder + "/frmprint.png"));
    QVERIFY(confirmation()->grab().save(folder + "/frmtulosta.png"));
    forms::DesktopPlatform desktop;
    report()->setEnabled(true);
    QCOMPARE(desktop.printWindowToPdf(*report(), folder + "/frmprint.pdf"), QString());
    report()->setEnabled(false);
    support::click(*confirmation(), QStringLiteral("Command1"));
    QVERIFY(m_platform.pages.constFirst().image.save(folder + "/frmprint-page.png"));

    datasheet::DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    m_language.set(Language::Finnish);
    support::click(*sheet, QStringLiteral("ImgPrint"));
    sheet->setEnabled(true);
    QCOMPARE(desktop.printWindowToPdf(*sheet, folder + "/form2.pdf"), QString());
    support::click(*sheetConfirmation(), QStringLiteral("Command1"));
    QVERIFY(m_platform.pages.constLast().image.save(folder + "/form2-page.png"));

    // The name a design file offers, selected.
    m_platform.savePath = m_dir.filePath(QStringLiteral("grab.kiila"));
    QVERIFY(m_w->saveDesignAs());
    printReport();
    type(confirmation()->control(QStringLiteral("Text1"))->widget(), QStringLiteral("Hall A"));
    support::click(*confirmation(), QStringLiteral("Command2"));
    confirmationGone(confirmation());
    printReport();
    QVERIFY(confirmation()->grab().save(folder + "/confirmation-offered.png"));
}

QTEST_MAIN(TestPrint)
#include "test_print.moc"
