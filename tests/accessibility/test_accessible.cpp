// What screen readers are told of the main window, read from its accessibility interfaces on
// the offscreen platform: the roles and names, the press action, the checked state, and the
// events that make a reader follow a language switch or a choice.

#include "mainwindow/mainwindow.h"
#include "windowdriver.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QTest>

using namespace support;

namespace {

struct Seen
{
    QObject *object;
    QAccessible::Event type;
};
QList<Seen> seen;

void record(QAccessibleEvent *event)
{
    seen.append({event->object(), event->type()});
}

bool wasSent(QObject *object, QAccessible::Event type)
{
    for (const Seen &s : std::as_const(seen))
        if (s.object == object && s.type == type)
            return true;
    return false;
}

} // namespace

class TestAccessible : public QObject, protected WindowDriver<mainwindow::MainWindow>
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rolesAndNames_data();
    void rolesAndNames();
    void childrenAreConsistent();
    void namesFollowTheLanguage();
    void pressChoosesAndChecks();
    void pressOnAHiddenCommandDoesNothing();
    void resultsDescribedByRowAndSize();

private:
    QAccessibleInterface *of(const QString &name, int index = forms::NoIndex) const
    {
        forms::Control *control = c(name, index);
        QObject *object = control->widget() ? static_cast<QObject *>(control->widget()) : control;
        return QAccessible::queryAccessibleInterface(object);
    }
    void press(QAccessibleInterface *iface)
    {
        QVERIFY(iface->actionInterface());
        QCOMPARE(iface->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
    }
};

void TestAccessible::initTestCase()
{
    // As when a reader listens: the events are sent, here to a list.
    QAccessible::installUpdateHandler(record);
    QAccessible::setActive(true);
}

void TestAccessible::init()
{
    QVERIFY(openWindow(nullptr));
    seen.clear();
}

void TestAccessible::cleanup()
{
    m_w.reset();
}

void TestAccessible::rolesAndNames_data()
{
    // The name: fixed, or the caption of the label beside the control, whatever the language.
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<QString>("namedBy");
    QTest::addColumn<int>("namedByIndex");
    QTest::addColumn<bool>("disabled");

    const int text = QAccessible::EditableText;
    const int button = QAccessible::Button;
    const int radio = QAccessible::RadioButton;
    QTest::newRow("field") << "Text1" << -1 << text << ""
                           << "Label1" << -1 << false;
    QTest::newRow("field unused") << "Text4" << -1 << text << ""
                                  << "Label4" << -1 << true;
    QTest::newRow("calculate") << "ImgCalc" << -1 << button << ""
                               << "Label15" << -1 << false;
    QTest::newRow("info") << "INFO" << -1 << button << "Info"
                          << "" << -1 << false;
    QTest::newRow("flag") << "ImgLanguage" << 2 << button << "Suomi"
                          << "" << -1 << false;
    QTest::newRow("arrangement") << "ImgSIT" << 2 << radio << ""
                                 << "LbSit" << 2 << false;
    QTest::newRow("cracked") << "ImgNO" << 0 << radio << ""
                             << "KYLLA" << -1 << false;
    QTest::newRow("heading") << "Label13" << -1 << int(QAccessible::StaticText) << ""
                             << "Label13" << -1 << false;
}

void TestAccessible::rolesAndNames()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(int, role);
    QFETCH(QString, fixed);
    QFETCH(QString, namedBy);
    QFETCH(int, namedByIndex);
    QFETCH(bool, disabled);
    QAccessibleInterface *iface = of(name, index);
    QVERIFY(iface);
    QCOMPARE(int(iface->role()), role);
    const QString expected =
        namedBy.isEmpty() ? fixed : c(namedBy, namedByIndex)->caption().simplified();
    QVERIFY(!expected.isEmpty());
    QCOMPARE(iface->text(QAccessible::Name), expected);
    QCOMPARE(bool(iface->state().disabled), disabled);
    QVERIFY(!iface->state().invisible);
    // A windowless control lies where it is drawn.
    if (!c(name, index)->widget())
        QCOMPARE(iface->rect().topLeft(), m_w->mapToGlobal(c(name, index)->geometry().topLeft()));
}

void TestAccessible::childrenAreConsistent()
{
    // Each child once, found again at its own index, with the window as its parent; markers
    // and the labels that name another control are not among them.
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_w.get());
    QCOMPARE(window->role(), QAccessible::Window);
    QSet<QObject *> objects;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface *child = window->child(i);
        QVERIFY(child);
        QCOMPARE(window->indexOfChild(child), i);
        QCOMPARE(child->parent()->object(), m_w.get());
        QVERIFY(!objects.contains(child->object()));
        objects.insert(child->object());
    }
    QVERIFY(objects.contains(c("ImgCalc")));
    QVERIFY(objects.contains(c("Text9")->widget()));
    QVERIFY(!objects.contains(c("ShpSit", 0)));
    QVERIFY(!objects.contains(c("Label15")));
    QVERIFY(!objects.contains(c("LbSit", 0)));
    // A result without a caption yet is not read.
    QVERIFY(objects.contains(c("leikkaus", 1)));
    QVERIFY(of("leikkaus", 1)->state().invisible);
}

void TestAccessible::namesFollowTheLanguage()
{
    // A language switch sets the captions; the commands and fields they name follow.
    c("Label15")->setCaption("LASKE NYT");
    c("Label1")->setCaption("C1  reunasta");
    c("LbSit", 0)->setCaption("ENSIMMÄINEN");
    QCOMPARE(of("ImgCalc")->text(QAccessible::Name), "LASKE NYT");
    QCOMPARE(of("Text1")->text(QAccessible::Name), "C1 reunasta");
    QCOMPARE(of("ImgSIT", 0)->text(QAccessible::Name), "ENSIMMÄINEN");
    // The tabs are read in the words they show: the Finnish ones drawn in the background, or the
    // English ones of the picture over them.
    c("Image2")->setVisible(false);
    QCOMPARE(of("ImgExit")->text(QAccessible::Name), "Lopeta");
    QCOMPARE(of("ImgHelp")->text(QAccessible::Name), "Ohje");
    c("Image2")->setVisible(true);
    QCOMPARE(of("ImgExit")->text(QAccessible::Name), "Exit");
    if (!QAccessible::isActive())
        return; // no reader is told on this platform
    QVERIFY(wasSent(c("ImgCalc"), QAccessible::NameChanged));
    QVERIFY(wasSent(c("ImgSIT", 0), QAccessible::NameChanged));
    QVERIFY(wasSent(c("Text1")->widget(), QAccessible::NameChanged));
}

void TestAccessible::pressChoosesAndChecks()
{
    QVERIFY(of("ImgSIT", 0)->state().checked);
    press(of("ImgSIT", 3));
    QCOMPARE(m_w->tapaus(), 4);
    QVERIFY(of("ImgSIT", 3)->state().checkable);
    QVERIFY(of("ImgSIT", 3)->state().checked);
    QVERIFY(!of("ImgSIT", 0)->state().checked);
    if (QAccessible::isActive()) {
        QVERIFY(wasSent(c("ImgSIT", 3), QAccessible::StateChanged));
        QVERIFY(wasSent(c("ImgSIT", 0), QAccessible::StateChanged));
    }

    press(of("ImgNO", 0));
    QCOMPARE(m_w->concreteState(), calc::Cracked);
    QVERIFY(of("ImgNO", 0)->state().checked);
    QVERIFY(!of("ImgNO", 1)->state().checked);
}

void TestAccessible::pressOnAHiddenCommandDoesNothing()
{
    // The data sheet's command is hidden until a calculation: a press is refused as a click is.
    QAccessibleInterface *sheet = of("Label14");
    QCOMPARE(sheet->role(), QAccessible::Button);
    QVERIFY(sheet->state().invisible);
    press(sheet);
    QVERIFY(!m_w->dataSheet());
}

// A result is read as its number; its row and size come as its description, as a sighted user
// reads them from the row's caption and the column's heading.
void TestAccessible::resultsDescribedByRowAndSize()
{
    for (const auto &[number, value] : {std::pair{1, "200"}, {3, "200"}, {6, "10"}, {7, "3"}})
        QTest::keyClicks(c(QStringLiteral("Text%1").arg(number))->widget(), value);
    press(of("ImgCalc"));
    const QString sizes[] = {"M8", "M10", "M12", "M16"};
    int read = 0;
    for (const auto &[value, row] :
         {std::pair{"veto_leikkaus", "Label18"}, {"leikkaus", "Label20"}})
        for (int size = 1; size <= 4; ++size) {
            if (c(value, size)->caption().isEmpty())
                continue;
            QAccessibleInterface *iface = of(value, size);
            QCOMPARE(iface->role(), QAccessible::StaticText);
            QCOMPARE(iface->text(QAccessible::Name), c(value, size)->caption().simplified());
            QCOMPARE(iface->text(QAccessible::Description),
                     c(row)->caption().simplified() + ", " + sizes[size - 1]);
            ++read;
        }
    QVERIFY(read >= 2);
    QCOMPARE(of("Label13")->text(QAccessible::Description), QString());
}

QTEST_MAIN(TestAccessible)
#include "test_accessible.moc"
