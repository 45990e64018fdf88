#include "forms/accessible.h"

#include "calc/calc.h"
#include "forms/control.h"
#include "forms/form.h"
#include "forms/keys.h"
#include "forms/widgets.h"
#include "texts/texts.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QMetaObject>
#include <QPointer>
#include <string_view>

namespace forms::accessible {
namespace {

// The control's own index: ImgSIT(3) is named by LbSit(3).
constexpr int SameIndex = -2;

enum class As : std::uint8_t { Default, Button, Radio, Ignored };

constexpr texts::Text NoText = texts::Text::Count;

// How a control without a caption of its own, or one that is read otherwise than its kind says,
// is presented. name: a fixed name; namedBy: the control whose caption names it; checkedBy: for
// a radio button, the marker whose visibility shows it chosen; describedBy: for a result value
// in a row of sizes, the caption of its row, read with the size of its column as description.
struct Entry
{
    const char *form;
    const char *control;
    int index;
    As as;
    const char *name = nullptr;
    const char *namedBy = nullptr;
    const char *checkedBy = nullptr;
    const char *describedBy = nullptr;
    // For a tab drawn in the background: its word in the program's texts, English while the
    // picture with the English words (englishBy) shows, else Finnish, as a sighted user then
    // sees the Finnish ones; finnishTab where the Finnish word is another text than the English.
    texts::Text tab = NoText;
    texts::Text finnishTab = NoText;
    const char *englishBy = nullptr;
};

constexpr Entry Table[] = {
    // The main window: the commands drawn in the background, the arrangement and concrete
    // choices, the calculate button whose caption lies below its click area, the fields named
    // by their captions.
    {"Form1", "INFO", NoIndex, As::Button, "Info"},
    {.form = "Form1",
     .control = "ImgExit",
     .index = NoIndex,
     .as = As::Button,
     .tab = texts::Text::TabExit,
     .englishBy = "Image2"},
    {.form = "Form1",
     .control = "ImgPrint",
     .index = NoIndex,
     .as = As::Button,
     .tab = texts::Text::TabPrint,
     .englishBy = "Image2"},
    {.form = "Form1",
     .control = "ImgHelp",
     .index = NoIndex,
     .as = As::Button,
     .tab = texts::Text::TabHelp,
     .englishBy = "Image2"},
    {"Form1", "ImgCalc", NoIndex, As::Button, nullptr, "Label15"},
    {"Form1", "Label15", NoIndex, As::Ignored},
    // The pill of the data sheet's button; its caption takes the same clicks.
    {"Form1", "ImgSHOW", NoIndex, As::Ignored},
    {"Form1", "Label14", NoIndex, As::Button},
    {"Form1", "ImgSIT", SameIndex, As::Radio, nullptr, "LbSit", "ShpSit"},
    {"Form1", "ImgNO", 0, As::Radio, nullptr, "KYLLA", "Shape1"},
    {"Form1", "ImgNO", 1, As::Radio, nullptr, "EI", "Shape1"},
    {"Form1", "Text1", NoIndex, As::Default, nullptr, "Label1"},
    {"Form1", "Text3", NoIndex, As::Default, nullptr, "Label3"},
    {"Form1", "Text4", NoIndex, As::Default, nullptr, "Label4"},
    {"Form1", "Text5", NoIndex, As::Default, nullptr, "Label5"},
    {"Form1", "Text6", NoIndex, As::Default, nullptr, "Label6"},
    {"Form1", "Text7", NoIndex, As::Default, nullptr, "Label7"},
    {"Form1", "Text8", NoIndex, As::Default, nullptr, "Label8"},
    {"Form1", "Text9", NoIndex, As::Default, nullptr, "Label9"},
    // The results: a value is read as its number, described by its row and size.
    {"Form1", "veto_leikkaus", SameIndex, As::Default, nullptr, nullptr, nullptr, "Label18"},
    {"Form1", "leikkaus", SameIndex, As::Default, nullptr, nullptr, nullptr, "Label20"},
    {"Form1", "epak", SameIndex, As::Default, nullptr, nullptr, nullptr, "label21"},
    // The report page's copies of the fields, named by its copies of their captions.
    {"FrmPRINT", "Text1", NoIndex, As::Default, nullptr, "Label12"},
    {"FrmPRINT", "Text3", NoIndex, As::Default, nullptr, "Label11"},
    {"FrmPRINT", "Text4", NoIndex, As::Default, nullptr, "Label10"},
    {"FrmPRINT", "Text5", NoIndex, As::Default, nullptr, "Label5"},
    {"FrmPRINT", "Text6", NoIndex, As::Default, nullptr, "Label6"},
    {"FrmPRINT", "Text7", NoIndex, As::Default, nullptr, "Label7"},
    {"FrmPRINT", "Text8", NoIndex, As::Default, nullptr, "Label8"},
    {"FrmPRINT", "Text9", NoIndex, As::Default, nullptr, "Label9"},
    {"FrmPRINT", "veto_leikkaus", SameIndex, As::Default, nullptr, nullptr, nullptr, "Label18"},
    {"FrmPRINT", "leikkaus", SameIndex, As::Default, nullptr, nullptr, nullptr, "Label20"},
    {"FrmPRINT", "epak", SameIndex, As::Default, nullptr, nullptr, nullptr, "label21"},
    // The data sheet's and the help window's tabs.
    {.form = "Form2",
     .control = "ImgExit",
     .index = NoIndex,
     .as = As::Button,
     .tab = texts::Text::TabBack,
     .finnishTab = texts::Text::TabExit,
     .englishBy = "Image2"},
    {.form = "Form2",
     .control = "ImgPrint",
     .index = NoIndex,
     .as = As::Button,
     .tab = texts::Text::TabPrint,
     .englishBy = "Image2"},
    {.form = "Form2",
     .control = "ImgHelp",
     .index = NoIndex,
     .as = As::Button,
     .tab = texts::Text::TabHelp,
     .englishBy = "Image2"},
    {.form = "Form3",
     .control = "Image1",
     .index = NoIndex,
     .as = As::Button,
     .tab = texts::Text::TabBack,
     .englishBy = "ImgEng"},
    // The print confirmations: the project entry and the picture button.
    {"FrmTULOSTA", "Text1", NoIndex, As::Default, nullptr, "Label2"},
    {"FrmTULOSTA", "Command1", NoIndex, As::Default, "Kyllä"},
    {"FrmTULOSTA2", "Command1", NoIndex, As::Default, "Kyllä"},
    {"FrmPRINTeng", "Text1", NoIndex, As::Default, nullptr, "Label2"},
};

// The flags, in every window, by the language they switch to.
constexpr const char *FlagNames[] = {"Русский", "English", "Suomi"};

// The index of the label naming the control: its own in a row of alike controls, else none.
int namerIndex(const Entry &e, const Control &control)
{
    return e.index == SameIndex ? control.index() : NoIndex;
}

const Form *formOf(const Control &control)
{
    return qobject_cast<const Form *>(control.parent());
}

const Entry *entryOf(const Control &control)
{
    const Form *form = formOf(control);
    if (!form)
        return nullptr;
    const std::string_view formName = form->definition().name;
    const std::string_view name = control.definition().name;
    for (const Entry &e : Table)
        if (formName == e.form && name == e.control &&
            (e.index == SameIndex || e.index == control.index()))
            return &e;
    return nullptr;
}

Control *related(const Control &control, const char *name, int index)
{
    const Form *form = formOf(control);
    return form && name ? form->findControl(QString::fromLatin1(name), index) : nullptr;
}

QString nameOf(const Control &control, const Entry *e)
{
    if (e && e->tab != NoText) {
        const Control *english = related(control, e->englishBy, NoIndex);
        if (english && !english->isVisible())
            return QString::fromUtf8(texts::text(texts::Language::Finnish,
                                                 e->finnishTab != NoText ? e->finnishTab : e->tab));
        return QString::fromUtf8(texts::text(texts::Language::English, e->tab));
    }
    if (e && e->name)
        return QString::fromUtf8(e->name);
    if (e && e->namedBy)
        if (const Control *by = related(control, e->namedBy, namerIndex(*e, control)))
            return by->caption().simplified();
    if (control.name() == QLatin1String("ImgLanguage") && control.index() >= 0 &&
        control.index() < static_cast<int>(std::size(FlagNames)))
        return QString::fromUtf8(FlagNames[control.index()]);
    return control.caption().simplified();
}

// A result value's row caption and the size of its column (1 to 4: M8 to M16), else empty.
QString descriptionOf(const Control &control, const Entry *e)
{
    const int size = control.index();
    if (!e || !e->describedBy || size < 1 || size > calc::SizeCount)
        return {};
    const Control *row = related(control, e->describedBy, NoIndex);
    const QString heading = row ? row->caption().simplified() : QString();
    const QString column = QStringLiteral("M%1").arg(calc::SizeTable[size - 1].dNom);
    return heading.isEmpty() ? column : heading + QStringLiteral(", ") + column;
}

// Whether the label names another control, which then carries its caption: it is not read a
// second time.
bool namesAnother(const Control &label)
{
    const Form *form = formOf(label);
    if (!form)
        return false;
    const std::string_view formName = form->definition().name;
    for (const Entry &e : Table)
        if (e.namedBy && formName == e.form && label.name() == QLatin1String(e.namedBy) &&
            (e.index == SameIndex) == (label.index() != NoIndex))
            return true;
    return false;
}

// The role a windowless control is read as; NoRole: it is not shown to assistive technology
// (markers, lines, pictures without a command).
QAccessible::Role roleOf(const Control &control)
{
    const Entry *e = entryOf(control);
    if (e && e->as == As::Ignored)
        return QAccessible::NoRole;
    if (e && e->as == As::Radio)
        return QAccessible::RadioButton;
    if ((e && e->as == As::Button) || control.takesClicks() ||
        control.name() == QLatin1String("ImgLanguage"))
        return QAccessible::Button;
    return control.kind() == Kind::Label && !namesAnother(control) ? QAccessible::StaticText
                                                                   : QAccessible::NoRole;
}

bool shown(const Control &control)
{
    return roleOf(control) != QAccessible::NoRole;
}

class ControlInterface : public QAccessibleObject, public QAccessibleActionInterface
{
public:
    explicit ControlInterface(Control *control) : QAccessibleObject(control) {}

    Control *control() const { return static_cast<Control *>(object()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface && isCommand())
            return static_cast<QAccessibleActionInterface *>(this);
        return QAccessibleObject::interface_cast(type);
    }

    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(control()->container());
    }
    QWindow *window() const override
    {
        const QAccessibleInterface *p = parent();
        return p ? p->window() : nullptr;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return nameOf(*control(), entryOf(*control()));
        if (t == QAccessible::Description)
            return descriptionOf(*control(), entryOf(*control()));
        return {};
    }
    QAccessible::Role role() const override { return roleOf(*control()); }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        const Control &c = *control();
        const QWidget *container = c.container();
        // A label without a caption shows nothing (a result not calculated yet).
        if (!c.isVisible() || !container || !container->isVisible() ||
            (c.kind() == Kind::Label && c.caption().isEmpty()))
            s.invisible = true;
        if (!c.isEnabled() || !container || !container->isEnabled())
            s.disabled = true;
        if (const Entry *e = entryOf(c); e && e->as == As::Radio) {
            s.checkable = true;
            const Control *marker = related(c, e->checkedBy, c.index());
            s.checked = marker && marker->isVisible();
        }
        if (c.kind() == Kind::Label && !isCommand())
            s.readOnly = true;
        if (isCommand() && container) {
            for (const FocusStop *stop :
                 container->findChildren<FocusStop *>(Qt::FindDirectChildrenOnly))
                if (stop->control() == &c) {
                    s.focusable = true;
                    s.focused = stop->hasFocus();
                }
        }
        return s;
    }

    QRect rect() const override
    {
        const Control &c = *control();
        if (!c.container())
            return {};
        return QRect(c.container()->mapToGlobal(c.geometry().topLeft()), c.geometry().size());
    }

    QStringList actionNames() const override
    {
        return isCommand() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString &name) override
    {
        // Clicked as the mouse would: only while it can be seen and used. The click's handler
        // runs after the caller has its answer, for it may open a window that waits.
        if (name != pressAction() || !isCommand() || state().invisible || state().disabled)
            return;
        QMetaObject::invokeMethod(
            control(),
            [c = QPointer<Control>(control())] {
                if (c)
                    emit c->clicked();
            },
            Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    bool isCommand() const
    {
        const QAccessible::Role r = roleOf(*control());
        return r == QAccessible::Button || r == QAccessible::RadioButton;
    }
};

// A window or frame: its widgets as Qt reports them, and before them its windowless controls
// that assistive technology is shown, lowest first.
class SurfaceInterface : public QAccessibleWidget
{
public:
    SurfaceInterface(Surface *surface, QAccessible::Role role) : QAccessibleWidget(surface, role) {}

    int childCount() const override
    {
        return static_cast<int>(windowless().size() + widgets().size());
    }
    QAccessibleInterface *child(int index) const override
    {
        const QList<Control *> own = windowless();
        if (index < 0)
            return nullptr;
        if (index < own.size())
            return QAccessible::queryAccessibleInterface(own[index]);
        const QList<QAccessibleInterface *> w = widgets();
        index -= static_cast<int>(own.size());
        return index < w.size() ? w[index] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const QList<Control *> own = windowless();
        const auto at = own.indexOf(qobject_cast<Control *>(child ? child->object() : nullptr));
        if (at >= 0)
            return static_cast<int>(at);
        const auto widgetAt = widgets().indexOf(child);
        return widgetAt < 0 ? -1 : static_cast<int>(widgetAt + own.size());
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (QAccessibleInterface *w = QAccessibleWidget::childAt(x, y); w && !isFocusStop(w))
            return w;
        const QList<Control *> own = windowless();
        for (auto it = own.crbegin(); it != own.crend(); ++it) {
            QAccessibleInterface *c = QAccessible::queryAccessibleInterface(*it);
            if (c && !c->state().invisible && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }

private:
    // A command's focus stop (keys.h) only carries the keyboard focus: the command itself is
    // read, as a windowless control, and is told the focus when its stop takes it.
    static bool isFocusStop(const QAccessibleInterface *child)
    {
        return child && qobject_cast<const FocusStop *>(child->object());
    }
    QList<QAccessibleInterface *> widgets() const
    {
        QList<QAccessibleInterface *> list;
        for (int i = 0, n = QAccessibleWidget::childCount(); i < n; ++i)
            if (QAccessibleInterface *w = QAccessibleWidget::child(i); w && !isFocusStop(w))
                list.append(w);
        return list;
    }
    QList<Control *> windowless() const
    {
        QList<Control *> own;
        for (Control *c : static_cast<Surface *>(widget())->windowless())
            if (shown(*c))
                own.append(c);
        return own;
    }
};

// A picture box is a graphic named by its picture: "arrangement3" is read "Arrangement 3",
// "installation_m10" "Installation M10".
class PictureInterface : public QAccessibleWidget
{
public:
    explicit PictureInterface(PictureWidget *picture)
        : QAccessibleWidget(picture, QAccessible::Graphic)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        QString name = static_cast<PictureWidget *>(widget())->picture();
        name.replace(u'_', u' ');
        for (qsizetype i = 1; i < name.size(); ++i)
            if (name[i].isDigit() && !name[i - 1].isDigit()) {
                if (name[i - 1] == u'm')
                    name[i - 1] = u'M';
                else if (name[i - 1] != u' ')
                    name.insert(i, u' ');
                break;
            }
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
        return name;
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("forms::Control"))
        return new ControlInterface(static_cast<Control *>(object));
    if (className == QLatin1String("forms::Form")) {
        auto *form = static_cast<Form *>(object);
        return new SurfaceInterface(form, form->definition().kind == WindowKind::Borderless
                                              ? QAccessible::Window
                                              : QAccessible::Dialog);
    }
    if (className == QLatin1String("forms::PictureWidget"))
        return new PictureInterface(static_cast<PictureWidget *>(object));
    if (className == QLatin1String("forms::FrameWidget"))
        return new SurfaceInterface(static_cast<Surface *>(object), QAccessible::Grouping);
    return nullptr;
}

} // namespace

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

void nameWidgets(Form &form)
{
    for (Control *c : form.controls()) {
        if (!c->widget())
            continue;
        if (const Entry *e = entryOf(*c); e && (e->name || e->namedBy)) {
            const QString name = nameOf(*c, e);
            if (c->widget()->accessibleName() != name)
                c->widget()->setAccessibleName(name);
        }
    }
}

void changed(Control &control, QAccessible::Event what)
{
    // The widgets' names follow whether a reader listens or not: one may start listening later.
    // The events cost nothing while none listens.
    if (what == QAccessible::NameChanged) {
        if (shown(control)) {
            QAccessibleEvent event(&control, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
            QAccessible::State states;
            states.invisible = true;
            QAccessibleStateChangeEvent shownOrNot(&control, states);
            QAccessible::updateAccessibility(&shownOrNot);
        }
        // The controls it names follow it.
        if (auto *form = qobject_cast<Form *>(control.parent())) {
            nameWidgets(*form);
            for (Control *c : form->controls())
                if (const Entry *e = entryOf(*c); e && e->namedBy && !c->widget() &&
                                                  control.name() == QLatin1String(e->namedBy) &&
                                                  control.index() == namerIndex(*e, *c)) {
                    QAccessibleEvent event(c, QAccessible::NameChanged);
                    QAccessible::updateAccessibility(&event);
                }
        }
        return;
    }
    QAccessible::State states;
    states.invisible = true;
    states.disabled = true;
    if (shown(control)) {
        QAccessibleStateChangeEvent event(&control, states);
        QAccessible::updateAccessibility(&event);
    }
    // A marker shows which radio button is chosen.
    if (auto *form = qobject_cast<Form *>(control.parent()))
        for (Control *c : form->controls())
            if (const Entry *e = entryOf(*c); e && e->checkedBy &&
                                              control.name() == QLatin1String(e->checkedBy) &&
                                              control.index() == c->index()) {
                QAccessible::State checked;
                checked.checked = true;
                QAccessibleStateChangeEvent event(c, checked);
                QAccessible::updateAccessibility(&event);
            }
}

} // namespace forms::accessible
