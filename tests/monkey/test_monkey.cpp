// The GUI monkey: a few thousand random events to every window the program shows, as a user
// who tries anything would give them: clicks anywhere and on controls, keys, Tab and Enter,
// junk and huge numbers typed into the fields. The windows are found as they come and go (every
// visible top-level forms::Form), so windows added to the program are covered as they appear.
// Message boxes are answered, and pages printed, by the fake platform; its file dialogs answer
// with names in the run's temporary folder, where the settings (the recent designs) live too.
// Now and then the monkey opens the main window's context menu and takes one of its entries.
//
// After each step: no caption or message shows NaN, an infinity or a broken number, and every
// window keeps the size it had when it first appeared. A step that does not return within
// StepLimit ends the run. Every tenth click on the exit tab ends the program as the program ends
// (its main window destroyed with whatever has the focus) and a new run begins; the last run always
// ends so, with the cursor in a field. A failure names the seed and the last steps; the run replays
// with
//   KIILA_MONKEY_SEED=<seed> [KIILA_MONKEY_STEPS=<steps>] build/bin/test_monkey

#include "fakeplatform.h"
#include "forms/form.h"
#include "lang/languages.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

namespace {

constexpr quint64 DefaultSeed = 20241211;
constexpr int DefaultSteps = 3000;
constexpr auto StepLimit = std::chrono::seconds(30);
constexpr std::size_t StepsShown = 25;

quint64 environmentNumber(const char *name, quint64 fallback)
{
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

// The last steps taken, for the report of a failure; also read by the watchdog's thread.
class StepLog
{
public:
    explicit StepLog(quint64 seed) : m_seed(seed) {}

    void add(int step, const QString &what)
    {
        const std::lock_guard lock(m_mutex);
        m_steps.push_back(QStringLiteral("  step %1: %2").arg(step).arg(what));
        if (m_steps.size() > StepsShown)
            m_steps.pop_front();
    }
    QString report(const QString &failure) const
    {
        const std::lock_guard lock(m_mutex);
        QString text =
            QStringLiteral("%1\nseed %2 (replay: KIILA_MONKEY_SEED=%2); the last steps:\n")
                .arg(failure)
                .arg(m_seed);
        for (const QString &step : m_steps)
            text += step + QLatin1Char('\n');
        return text;
    }

private:
    const quint64 m_seed;
    mutable std::mutex m_mutex;
    std::deque<QString> m_steps;
};

// Ends the process with the report when a step does not return in time: a hung window cannot
// report anything itself.
class Watchdog
{
public:
    explicit Watchdog(const StepLog &log) : m_log(log), m_thread([this] { watch(); }) {}
    ~Watchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    void beat()
    {
        const std::lock_guard lock(m_mutex);
        ++m_beats;
        m_wake.notify_one();
    }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        while (!m_done) {
            const quint64 before = m_beats;
            if (!m_wake.wait_for(lock, StepLimit, [&] { return m_done || m_beats != before; })) {
                const QByteArray report =
                    m_log
                        .report(QStringLiteral("FAIL: a step did not return within %1 s")
                                    .arg(StepLimit.count()))
                        .toLocal8Bit();
                std::fputs(report.constData(), stderr);
                std::_Exit(EXIT_FAILURE);
            }
        }
    }

    const StepLog &m_log;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    quint64 m_beats = 0;
    bool m_done = false;
    std::thread m_thread;
};

// What the monkey types: numbers of every kind a field may meet, and junk.
const char *const Junk[] = {
    "0",
    "1",
    "-1",
    "250",
    "1e3",
    "2,5",
    "12abc",
    " ",
    "-0",
    ".5",
    "5.",
    "&H7F",
    "&HFFFFFFFFFFFFFFFFFFFFFFFF",
    "&O777",
    "1e308",
    "-1e308",
    "1.7976931348623157e308",
    "1e-320",
    "1e99999",
    "-1e99999",
    "nan",
    "inf",
    "-inf",
    "1 2 3",
    "1d5",
    "+7",
    "ä€ж",
    "\t5",
    "0.000001",
    "99999999999999999999999999999999999999999999999999999999999999999999999999999999"};

class Monkey
{
public:
    Monkey(quint64 seed, StepLog &log) : m_random(seed), m_log(log) {}

    // One random event to one of the visible windows; false when no window is visible.
    bool step(int number)
    {
        const QList<forms::Form *> windows = visibleWindows();
        if (windows.isEmpty())
            return false;
        // Like a curious user, the monkey often tries what has just appeared.
        m_fresh.removeAll(nullptr);
        if (!m_fresh.isEmpty() && pick(2)) {
            const QPointer<forms::Control> control = m_fresh.takeAt(pick(m_fresh.size()));
            auto *window = qobject_cast<forms::Form *>(control->container()->window());
            if (window && window->isVisible() && control->isVisible()) {
                clickControl(number, window, control);
                return true;
            }
        }
        forms::Form *window = windows.at(pick(windows.size()));
        const int kind = pick(100);
        if (kind < 30)
            clickAnywhere(number, window);
        else if (kind < 55)
            clickControl(number, window);
        else if (kind < 70)
            typeInto(number, window);
        else if (kind < 85)
            pressKey(number, window);
        else if (kind < 95)
            fillAndEnter(number, window);
        else if (kind < 97 && window->definition().kind != forms::WindowKind::Borderless)
            closeWindow(number, window); // with the close button of its title bar
        else if (auto *main = qobject_cast<mainwindow::MainWindow *>(window); main && pick(2))
            menuEntry(number, main);
        else
            typeInto(number, window);
        return true;
    }

    // Notes the controls that a step has brought to the screen.
    void observe()
    {
        QSet<const forms::Control *> visible;
        for (forms::Form *window : visibleWindows())
            for (forms::Control *control : window->controls())
                if (control->isVisible() && control->kind() != forms::Kind::Line &&
                    control->kind() != forms::Kind::Shape) {
                    visible.insert(control);
                    if (!m_visible.contains(control))
                        m_fresh << control;
                }
        m_visible = visible;
    }

    void forgetFresh() { m_fresh.clear(); }
    int menuEntries() const { return m_menuEntries; }

    // Every visible window of the program.
    static QList<forms::Form *> visibleWindows()
    {
        QList<forms::Form *> windows;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *form = qobject_cast<forms::Form *>(widget); form && form->isVisible())
                windows << form;
        return windows;
    }

private:
    int pick(qsizetype count) { return int(m_random() % quint64(count)); }

    QString junk()
    {
        switch (pick(3)) {
        case 0:
            return QString::fromUtf8(Junk[pick(std::size(Junk))]);
        case 1: // a plausible design value
            return QString::number(pick(2000) + pick(100) / 100.0);
        default: // any magnitude
            return QString::number(
                (pick(2) ? 1 : -1) *
                    std::ldexp(double(m_random() % 1000000) / 1e5, pick(2100) - 1060),
                'g', 17);
        }
    }

    // A mouse click where the user's would land: on the widget under the point, else on the
    // window, which hands it to its windowless controls.
    void clickAt(forms::Form *window, QPoint point)
    {
        QWidget *target = window->childAt(point);
        if (!target)
            target = window;
        const QPoint local = target->mapFrom(window, point);
        const QPointer<QWidget> guard(target);
        QTest::mousePress(target, Qt::LeftButton, {}, local);
        if (guard)
            QTest::mouseRelease(target, Qt::LeftButton, {}, local);
    }

    void clickAnywhere(int number, forms::Form *window)
    {
        const QPoint point(pick(window->width()), pick(window->height()));
        m_log.add(
            number,
            QStringLiteral("click %1 at %2,%3").arg(window->name()).arg(point.x()).arg(point.y()));
        clickAt(window, point);
    }

    // A click on the middle of a visible control: the flags, arrangements, concrete choices and
    // commands are controls too. Every other time only click areas and buttons are chosen, so
    // that the commands of a window are met often.
    void clickControl(int number, forms::Form *window)
    {
        const bool commands = pick(2);
        QList<forms::Control *> shown;
        for (forms::Control *control : window->controls())
            if (control->isVisible() && control->kind() != forms::Kind::Line &&
                (!commands || control->kind() == forms::Kind::Image ||
                 control->kind() == forms::Kind::CommandButton))
                shown << control;
        if (shown.isEmpty())
            return clickAnywhere(number, window);
        clickControl(number, window, shown.at(pick(shown.size())));
    }

    void clickControl(int number, forms::Form *window, const forms::Control *control)
    {
        m_log.add(number, QStringLiteral("click %1.%2(%3)")
                              .arg(window->name(), control->name())
                              .arg(control->index()));
        QWidget *container = control->container();
        clickAt(window, container->mapTo(window, control->geometry().center()));
    }

    QList<forms::Control *> textFields(forms::Form *window) const
    {
        QList<forms::Control *> fields;
        for (forms::Control *control : window->controls())
            if (control->kind() == forms::Kind::TextBox && control->widget() &&
                control->widget()->isVisible() && control->widget()->isEnabled())
                fields << control;
        return fields;
    }

    // Keys typed into a field, after a click into it.
    void typeInto(int number, forms::Form *window)
    {
        const QList<forms::Control *> fields = textFields(window);
        if (fields.isEmpty())
            return pressKey(number, window);
        forms::Control *field = fields.at(pick(fields.size()));
        const QString text = junk();
        m_log.add(
            number,
            QStringLiteral("type \"%1\" into %2.%3").arg(text, window->name(), field->name()));
        const QPointer<QWidget> widget(field->widget());
        clickAt(window, widget->mapTo(window, widget->rect().center()));
        // QTest::keyClicks takes ASCII only.
        for (const QChar c : text) {
            if (!widget)
                break;
            if (c.unicode() < 0x80)
                QTest::keyClick(widget, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
        }
    }

    // Every field of the window filled, then Enter: the way to a calculation.
    void fillAndEnter(int number, forms::Form *window)
    {
        const QList<forms::Control *> fields = textFields(window);
        if (fields.isEmpty())
            return pressKey(number, window);
        QStringList texts;
        for (forms::Control *field : fields) {
            // Distances in mm and loads in kN: large and small numbers, and now and then junk.
            const int kind = pick(8);
            texts << (kind < 4   ? QString::number(pick(1500) + 1)
                      : kind < 7 ? QString::number(pick(20))
                                 : junk());
            field->setText(texts.last());
        }
        forms::Control *last = fields.at(pick(fields.size()));
        m_log.add(number, QStringLiteral("fill %1 with %2, Enter in %3")
                              .arg(window->name(), texts.join(QLatin1Char('|')), last->name()));
        const QPointer<QWidget> widget(last->widget());
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Return);
    }

    void pressKey(int number, forms::Form *window)
    {
        static const std::pair<Qt::Key, const char *> Keys[] = {
            {Qt::Key_Tab, "Tab"},
            {Qt::Key_Backtab, "Shift+Tab"},
            {Qt::Key_Return, "Enter"},
            {Qt::Key_Enter, "keypad Enter"},
            {Qt::Key_Escape, "Escape"},
            {Qt::Key_Space, "Space"},
            {Qt::Key_Backspace, "Backspace"},
            {Qt::Key_Delete, "Delete"},
            {Qt::Key_Left, "Left"},
            {Qt::Key_Right, "Right"},
            {Qt::Key_Up, "Up"},
            {Qt::Key_Down, "Down"},
            {Qt::Key_Home, "Home"},
            {Qt::Key_End, "End"},
            {Qt::Key_F1, "F1"},
            {Qt::Key_A, "A"},
            {Qt::Key_9, "9"},
            {Qt::Key_O, "Ctrl+O"},
            {Qt::Key_S, "Ctrl+S"},
            {Qt::Key_S, "Ctrl+Shift+S"},
        };
        const auto &[key, name] = Keys[pick(std::size(Keys))];
        const QLatin1String named(name);
        Qt::KeyboardModifiers modifiers;
        if (named.startsWith(QLatin1String("Ctrl+")))
            modifiers |= Qt::ControlModifier;
        if (named.contains(QLatin1String("Shift+")))
            modifiers |= Qt::ShiftModifier;
        // The key goes where the keyboard focus is, when it is in this window.
        QWidget *target = QApplication::focusWidget();
        if (!target || target->window() != window)
            target = window;
        m_log.add(number,
                  QStringLiteral("key %1 to %2 (%3)")
                      .arg(QLatin1String(name), window->name(), target->metaObject()->className()));
        QTest::keyClick(target, key, modifiers);
    }

    // A right-click on the main window and one entry of the menu it opens (a click on a field
    // opens the field's own menu, which the next step closes).
    void menuEntry(int number, mainwindow::MainWindow *window)
    {
        const QPoint point(pick(window->width()), pick(window->height()));
        QWidget *target = window->childAt(point);
        if (!target)
            target = window;
        QContextMenuEvent event(QContextMenuEvent::Mouse, target->mapFrom(window, point),
                                window->mapToGlobal(point));
        QApplication::sendEvent(target, &event);
        QList<QAction *> entries;
        if (QMenu *menu = window->contextMenu())
            for (QAction *action : menu->actions())
                if (!action->isSeparator())
                    entries << action;
        if (entries.isEmpty()) {
            m_log.add(number,
                      QStringLiteral("right-click Form1 at %1,%2").arg(point.x()).arg(point.y()));
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
            return;
        }
        QAction *entry = entries.at(pick(entries.size()));
        ++m_menuEntries;
        m_log.add(number, QStringLiteral("right-click Form1 at %1,%2, menu entry \"%3\"")
                              .arg(point.x())
                              .arg(point.y())
                              .arg(entry->text()));
        window->contextMenu()->close();
        entry->trigger();
    }

    void closeWindow(int number, forms::Form *window)
    {
        m_log.add(number, QStringLiteral("close %1").arg(window->name()));
        window->close();
    }

    std::mt19937_64 m_random;
    StepLog &m_log;
    QSet<const forms::Control *> m_visible; // compared only, never followed
    QList<QPointer<forms::Control>> m_fresh;
    int m_menuEntries = 0;
};

// A NaN, an infinity or a number that is not well formed, in any text on screen; empty when
// there is none. A token of digits and number signs only must be a number in the general form
// or a fixed form ("2.21", "1.79769313486232E+308", "0,50") and not a negative zero; a token
// that starts as a number and says NaN or infinity ("1.#INF", "-nan") is broken. Tokens with
// other letters ("M12", "01_b") are not numbers.
QString badNumber(const QString &text)
{
    static const QRegularExpression Token(QStringLiteral("[^\\s()\\[\\]:;=/x]+"));
    static const QRegularExpression NumberSigns(QStringLiteral("^[-+]?[.,]?\\d[\\d.,E+-]*$"));
    static const QRegularExpression WellFormed(
        QStringLiteral("^-?\\d+([.,]\\d+)?(E[+-]\\d{2,3})?[.,]?$"));
    static const QRegularExpression NotANumber(
        QStringLiteral("^[-+]?(nan|inf|infinity)$|^[-+]?[\\d.,]+.*(nan|inf|ind)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression NegativeZero(QStringLiteral("^-0([.,]0+)?$"));
    for (auto it = Token.globalMatch(text); it.hasNext();) {
        const QString token = it.next().captured();
        if (NotANumber.match(token).hasMatch() || NegativeZero.match(token).hasMatch() ||
            (NumberSigns.match(token).hasMatch() && !WellFormed.match(token).hasMatch()))
            return token;
    }
    return QString();
}

// The monkey's events often land where nothing takes them (a disabled window, a bare
// background), and the offscreen platform cannot raise windows; the warnings of each would
// drown everything else.
QtMessageHandler testLibraryHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg &&
        (message.endsWith(QLatin1String("not accepted by receiving widget")) ||
         message == QLatin1String("This plugin does not support raise()")))
        return;
    testLibraryHandler(type, context, message);
}

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT
private slots:
    void monkey();
};

void TestMonkey::monkey()
{
    const quint64 seed = environmentNumber("KIILA_MONKEY_SEED", DefaultSeed);
    const int steps = int(environmentNumber("KIILA_MONKEY_STEPS", DefaultSteps));
    qInfo("seed %llu, %d steps", static_cast<unsigned long long>(seed), steps);
    testLibraryHandler = qInstallMessageHandler(quietHandler);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(testLibraryHandler); });

    // The program with its language files beside it.
    QTemporaryDir folder;
    for (const char *file : {"english.txt", "fin.txt", "rus.txt"})
        QVERIFY(QFile::copy(QStringLiteral(KIILA_LANG_DIR "/") + QLatin1String(file),
                            folder.filePath(QLatin1String(file))));
    // The recent designs and the last folder are kept in the run's folder.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
    QCoreApplication::setOrganizationName(QStringLiteral("kiila-monkey"));
    QVERIFY(QSettings().fileName().startsWith(folder.path()));
    FakePlatform platform;
    platform.folder = folder.path();
    platform.openPath = folder.filePath(QStringLiteral("monkey.kiila"));
    platform.savePath = platform.openPath;
    platform.pdfPath = folder.filePath(QStringLiteral("report.pdf"));
    lang::LanguageTag language;
    std::unique_ptr<mainwindow::MainWindow> window;
    const auto startProgram = [&] {
        window = std::make_unique<mainwindow::MainWindow>(platform, language);
        window->showWindow();
        return QTest::qWaitForWindowExposed(window.get());
    };
    QVERIFY(startProgram());
    // The exit tab ends the program as the program ends: the main window is destroyed with
    // whatever has the focus; then a new run starts.
    int runs = 1;
    int exitClicks = 0;
    const auto endProgram = [&] {
        window.reset();
        QCoreApplication::processEvents();
        ++runs;
    };

    StepLog log(seed);
    Watchdog watchdog(log);
    Monkey monkey(seed, log);
    monkey.observe();
    monkey.forgetFresh();                                 // the window as it starts is not news
    QList<std::pair<QPointer<forms::Form>, QSize>> sizes; // each window as it first appeared
    QStringList seen;                                     // the windows met, for the summary
    int messages = 0;
    int pages = 0;
    for (int number = 1; number <= steps; ++number) {
        if (!monkey.step(number))
            QFAIL(qPrintable(log.report(QStringLiteral("no window is left on screen"))));
        QCoreApplication::processEvents();
        watchdog.beat();
        // Every tenth exit ends the program; the others are ignored, so that runs grow long
        // enough to reach deep states.
        if (platform.exits && ++exitClicks % 10 == 0) {
            log.add(number, QStringLiteral("the exit tab ended the program; a new run"));
            endProgram();
            QVERIFY(startProgram());
        }
        platform.exits = 0;
        monkey.observe();

        sizes.removeIf([](const auto &entry) { return entry.first.isNull(); });
        // The fields show what the monkey typed until they are left, and a label may show a
        // field as it is typed (the project line of the report page): such texts are the
        // user's, not numbers the program wrote.
        QSet<QString> typed;
        for (forms::Form *form : Monkey::visibleWindows())
            for (const forms::Control *control : form->controls())
                if (control->kind() == forms::Kind::TextBox)
                    typed.insert(control->text());
        for (forms::Form *form : Monkey::visibleWindows()) {
            const auto known =
                std::find_if(sizes.cbegin(), sizes.cend(),
                             [form](const auto &entry) { return entry.first == form; });
            if (!seen.contains(form->name()))
                seen << form->name();
            // A window changes its size only with the zoom, to its definition's at the zoom.
            const forms::FormDef &def = form->definition();
            const QSize zoomed(forms::px(def.width, form->zoom()),
                               forms::px(def.height, form->zoom()));
            if (known != sizes.cend() && known->second != form->size() && form->size() != zoomed)
                QFAIL(
                    qPrintable(log.report(QStringLiteral("%1 changed its size from %2x%3 to %4x%5")
                                              .arg(form->name())
                                              .arg(known->second.width())
                                              .arg(known->second.height())
                                              .arg(form->width())
                                              .arg(form->height()))));
            if (known == sizes.cend())
                sizes.append({form, form->size()});
            else
                sizes[known - sizes.cbegin()].second = form->size();
            for (const forms::Control *control : form->controls()) {
                if (control->kind() == forms::Kind::TextBox || typed.contains(control->caption()))
                    continue;
                const QString bad = badNumber(control->caption());
                if (!bad.isEmpty())
                    QFAIL(qPrintable(log.report(QStringLiteral("%1.%2(%3) shows \"%4\": %5")
                                                    .arg(form->name(), control->name())
                                                    .arg(control->index())
                                                    .arg(bad, control->caption()))));
            }
        }
        for (const auto &[text, title] : std::as_const(platform.messages)) {
            // A message may quote what the user typed into a field ("…" is not a number).
            QString shown = text + QLatin1Char(' ') + title;
            for (const QString &own : std::as_const(typed))
                if (!own.isEmpty())
                    shown.replace(QLatin1Char('"') + own + QLatin1Char('"'),
                                  QStringLiteral("\"\""));
            const QString bad = badNumber(shown);
            if (!bad.isEmpty())
                QFAIL(qPrintable(
                    log.report(QStringLiteral("a message shows \"%1\": %2").arg(bad, text))));
        }
        messages += int(platform.messages.size());
        platform.messages.clear();
        // Printed pages are only counted: their images would fill the memory.
        pages += int(platform.pages.size() + platform.pdfPages.size());
        for (const FakePlatform::Document &document : std::as_const(platform.documents))
            pages += int(document.pages.size());
        platform.pages.clear();
        platform.pdfPages.clear();
        platform.documents.clear();
    }
    // The last run ends through the exit tab with the cursor in a field.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QWidget *field = window->control(QStringLiteral("Text1"))->widget();
    QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
    const forms::Control *exitTab = window->control(QStringLiteral("ImgExit"));
    // (A confirmation still open keeps the main window disabled and the click away: the
    // program then ends as it would from the desktop, destroyed with the field focused.)
    QTest::mouseClick(exitTab->container(), Qt::LeftButton, {}, exitTab->geometry().center());
    endProgram();
    qInfo("windows met: %s; %d message boxes answered, %d pages printed, %d menu entries taken, "
          "%d runs ended by exit",
          qPrintable(seen.join(QLatin1String(", "))), messages, pages, monkey.menuEntries(),
          runs - 1);
}

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
