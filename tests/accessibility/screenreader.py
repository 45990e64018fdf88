#!/usr/bin/env python3
"""Reads and drives kiila through the desktop's accessibility bus, as a screen reader does.

    screenreader.py KIILA KIILA_CALC [--dump FILE]

Starts a virtual X server, a private D-Bus session with the accessibility bus, and the program;
finds the fields by their names, types the inputs, presses calculate by its action and compares
the capacities read back with kiila-calc's; opens the help and the data sheet by their commands
and reads their texts. The program runs at a zoom of 110 % (kept in its settings file): the
places reported of the window and of its commands are in screen pixels at that zoom. With --dump it writes the main window's tree as text (a screen-reader
walk) into FILE. Exits 77 (skipped) where no virtual display or accessibility bus can run.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
NO_DISPLAY = 3  # the program ended before it showed a window
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
BUS_SERVICE = "/usr/share/dbus-1/services/org.a11y.Bus.service"

ZOOM = 110  # the zoom the settings keep for the run, which the screen has room for
# The calculate command's click area at 100 %, in pixels from the main window's top-left.
CALCULATE_AT = (720, 428, 181, 41)

# The design typed into the fields: arrangement 1 uses C1, C2, NSd and V1d.
DESIGN = {"c1": "150", "c2": "150", "nsd": "4", "v1d": "2"}
FIELDS = {"c1": "Edge distance C1", "c2": "Edge distance C2", "nsd": "NSd", "v1d": "V1d"}


def skip(reason):
    print("SKIP: " + reason)
    sys.exit(SKIP)


def outer(args):
    """Starts the display and the session bus, then runs the test inside them."""
    for tool in ("Xvfb", "dbus-run-session", "xauth"):
        if not shutil.which(tool):
            skip(f"{tool} is not installed (tools/setup.sh installs it)")
    if not os.access(BUS_LAUNCHER, os.X_OK) or not os.path.exists(BUS_SERVICE):
        skip("the accessibility bus (at-spi2-core) is not installed")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        skip("python3-pyatspi is not installed for " + sys.executable)
    # Another virtual display starting at the same moment may take the number this one was
    # given: the program then cannot reach it, and the run starts over on a new display.
    for _ in range(3):
        code = run_on_new_display(args)
        if code != NO_DISPLAY:
            return code
    skip("the program could not reach a virtual display")


def run_on_new_display(args):
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    try:
        line = xvfb.stdout.readline().decode().strip()
        if not line.isdigit():
            return NO_DISPLAY
        env = dict(os.environ, DISPLAY=":" + line)
        return subprocess.call(["dbus-run-session", "--", sys.executable, __file__, "--inner"]
                               + args, env=env)
    finally:
        xvfb.terminate()
        xvfb.wait()


def wait_for(what, probe, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        value = probe()
        if value:
            return value
        time.sleep(0.2)
    raise AssertionError("timed out waiting for " + what)


def bus_ready():
    return subprocess.call(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                            "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) == 0


def walk(node, showing_only=True):
    """Every object below node, depth first, with its depth."""
    import pyatspi
    out = []

    def visit(n, depth):
        for i in range(n.childCount):
            c = n.getChildAtIndex(i)
            if c is None:
                continue
            states = c.getState()
            if showing_only and not states.contains(pyatspi.STATE_SHOWING):
                continue
            out.append((depth, c))
            visit(c, depth + 1)

    visit(node, 0)
    return out


class Program:
    def __init__(self, app):
        self.app = app

    def window(self, named=None):
        """The showing top-level window of the program (the one named, when given)."""
        import pyatspi

        def find():
            self.app.clearCache()
            for i in range(self.app.childCount):
                w = self.app.getChildAtIndex(i)
                if w is None or not w.getState().contains(pyatspi.STATE_SHOWING):
                    continue
                if named is None or named(w):
                    return w
            return None
        return wait_for("a window", find)

    def objects(self, window):
        window.clearCache()
        return [a for _, a in walk(window)]

    def find(self, window, role, name_part):
        import pyatspi

        def probe():
            for a in self.objects(window):
                if a.getRole() == role and name_part in a.name:
                    return a
            return None
        found = wait_for(f"{pyatspi.Role(role)} named {name_part!r}", probe, 10)
        return found

    def press(self, obj):
        action = obj.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        assert "Press" in names or "press" in [n.lower() for n in names], names
        action.doAction([n.lower() for n in names].index("press"))


def pump():
    """Hands the events that have arrived to their listeners."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def texts(program, window):
    import pyatspi
    return [a.name for a in program.objects(window) if a.getRole() == pyatspi.ROLE_LABEL]


def dump(window, path):
    import pyatspi
    lines = ["# The main window as a screen reader reads it", "",
             "Made by `tests/accessibility/screenreader.py --dump` after a calculation of "
             "arrangement 1 in English (C1 150 mm, C2 150 mm, NSd 4 kN, V1d 2 kN); every object "
             "shown, as role, name, (description) and the states that matter.", "", "```",
             f"{window.getRoleName()} \"{window.name}\""]
    window.clearCache()
    for depth, a in walk(window):
        s = a.getState()
        flags = [n for n, st in (("checked", pyatspi.STATE_CHECKED),
                                 ("disabled", None)) if st is not None and s.contains(st)]
        if not s.contains(pyatspi.STATE_ENABLED):
            flags.append("disabled")
        extra = ""
        if a.getRole() == pyatspi.ROLE_TEXT:
            t = a.queryText()
            extra = f" text \"{t.getText(0, -1)}\""
        if a.description:
            extra += f" ({a.description})"
        flag_text = f" [{', '.join(flags)}]" if flags else ""
        lines.append("  " * (depth + 1) + f"{a.getRoleName()} \"{a.name}\"{extra}{flag_text}")
    lines += ["```", ""]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def inner(args):
    kiila, kiila_calc = args[0], args[1]
    dump_to = args[args.index("--dump") + 1] if "--dump" in args else None
    # The session bus starts the accessibility bus on the first call for it (its service file
    # comes with at-spi2-core): one bus, which the program and this reader both find.
    home = tempfile.mkdtemp(prefix="kiila-a11y-")
    program = None
    try:
        wait_for("the accessibility bus", bus_ready, 20)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"), LANG="C.UTF-8",
                   LC_ALL="C.UTF-8")
        os.makedirs(os.path.join(home, "config", "kiila"))
        with open(os.path.join(home, "config", "kiila", "kiila.conf"), "w",
                  encoding="utf-8") as f:
            f.write(f"[windows]\nzoom={ZOOM}\n")
        program = subprocess.Popen([kiila], env=env)
        import pyatspi
        desktop = pyatspi.Registry.getDesktop(0)

        def app():
            if program.poll() is not None:
                sys.exit(NO_DISPLAY)
            desktop.clearCache()
            for i in range(desktop.childCount):
                a = desktop.getChildAtIndex(i)
                if a is not None and a.name == "kiila" and a.childCount > 0:
                    return a
            return None
        run(Program(wait_for("kiila on the accessibility bus", app)), kiila_calc, dump_to)
        print("PASS")
        return 0
    finally:
        if program:
            program.terminate()
            program.wait()
        shutil.rmtree(home, ignore_errors=True)


def run(program, kiila_calc, dump_to):
    import pyatspi
    main = program.window()

    # Places are told in screen pixels at the window's zoom: the window's size and the
    # calculate command's place in it are those of 100 % times the zoom.
    window = main.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    assert (window.width, window.height) == (round(1027 * ZOOM / 100), round(768 * ZOOM / 100)), \
        (window.width, window.height)
    calculate = program.find(main, pyatspi.ROLE_PUSH_BUTTON, "CALCULATE")
    box = calculate.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    told = (box.x - window.x, box.y - window.y, box.width, box.height)
    assert all(abs(t - round(v * ZOOM / 100)) <= 1 for t, v in zip(told, CALCULATE_AT)), told

    # The flags switch the language; the names follow, and a listening reader is told.
    told = []
    pyatspi.Registry.registerEventListener(lambda e: told.append(e.source.name),
                                           "object:property-change:accessible-name")
    program.press(program.find(main, pyatspi.ROLE_PUSH_BUTTON, "Suomi"))
    program.find(main, pyatspi.ROLE_TEXT, "Etaisyys reunasta C1")
    wait_for("the new names told", lambda: pump() or
             {"LASKE", "TAPAUS 1", "Etaisyys reunasta C1 (mm)"} <= set(told), 10)
    program.press(program.find(main, pyatspi.ROLE_PUSH_BUTTON, "English"))
    c1 = program.find(main, pyatspi.ROLE_TEXT, "Edge distance C1 (mm)")

    # Every field is named, commands are buttons and the choices radio buttons.
    objects = program.objects(main)
    fields = [a for a in objects if a.getRole() == pyatspi.ROLE_TEXT]
    assert len(fields) == 8 and all(a.name for a in fields), [a.name for a in fields]
    radios = [a for a in objects if a.getRole() == pyatspi.ROLE_RADIO_BUTTON]
    assert len(radios) == 9, [a.name for a in radios]
    checked = [a.name for a in radios if a.getState().contains(pyatspi.STATE_CHECKED)]
    assert len(checked) == 2, checked
    unnamed = [a.getRoleName() for a in objects if not a.name and a.getRole() not in (
        pyatspi.ROLE_LABEL, pyatspi.ROLE_PANEL)]
    assert not unnamed, unnamed

    # Arrangement 2 chosen by its action is checked, the first no longer, and a listening
    # reader is told of both; back to 1.
    checks = []
    pyatspi.Registry.registerEventListener(
        lambda e: checks.append((e.source.name, bool(e.detail1))), "object:state-changed:checked")
    program.press(radios[1])
    wait_for("the checked states told", lambda: pump() or
             {(radios[1].name, True), (radios[0].name, False)} <= set(checks), 10)
    wait_for("arrangement 2 checked",
             lambda: radios[1].getState().contains(pyatspi.STATE_CHECKED) and
             not radios[0].getState().contains(pyatspi.STATE_CHECKED), 10)
    program.press(radios[0])
    wait_for("arrangement 1 checked",
             lambda: radios[0].getState().contains(pyatspi.STATE_CHECKED), 10)
    s1 = program.find(main, pyatspi.ROLE_TEXT, "S1")
    assert not s1.getState().contains(pyatspi.STATE_ENABLED), "S1 is not used by arrangement 1"
    assert c1.getState().contains(pyatspi.STATE_ENABLED)

    # Calculate with empty fields: the notice is a dialog whose text is read, closed by its OK.
    program.press(program.find(main, pyatspi.ROLE_PUSH_BUTTON, "CALCULATE"))
    notice = program.window(lambda w: w.name != main.name)
    assert notice.getRole() == pyatspi.ROLE_DIALOG, notice.getRoleName()
    wait_for("the notice's text", lambda: any("fill" in t for t in texts(program, notice)), 10)
    program.press(program.find(notice, pyatspi.ROLE_PUSH_BUTTON, "OK"))
    wait_for("the notice closed", lambda: program.window().name == main.name, 10)

    # The print confirmation over the report page is a dialog with its question, the project
    # entry and its buttons; the report page's fields are named as the main window's.
    program.press(program.find(main, pyatspi.ROLE_PUSH_BUTTON, "Print"))
    question = program.window(lambda w: "PRINT?" in texts(program, w))
    assert question.getRole() == pyatspi.ROLE_DIALOG, question.getRoleName()
    page = program.window(lambda w: w.name != main.name and w.name != question.name)
    program.find(page, pyatspi.ROLE_TEXT, "Edge distance C1 (mm)")
    program.find(question, pyatspi.ROLE_TEXT, "PROJECT")
    program.find(question, pyatspi.ROLE_PUSH_BUTTON, "Yes")
    program.press(program.find(question, pyatspi.ROLE_PUSH_BUTTON, "No"))
    wait_for("the question closed",
             lambda: not question.getState().contains(pyatspi.STATE_SHOWING), 10)

    for key, value in DESIGN.items():
        field = program.find(main, pyatspi.ROLE_TEXT, FIELDS[key])
        field.queryEditableText().setTextContents(value)
        wait_for(FIELDS[key] + " set", lambda: field.queryText().getText(0, -1) == value, 10)
    program.press(program.find(main, pyatspi.ROLE_PUSH_BUTTON, "CALCULATE"))

    # The capacities read back are kiila-calc's for the same design.
    expected = json.loads(subprocess.check_output(
        [kiila_calc, "--arrangement", "1", "--json", "--lang", "eng"] +
        [a for k, v in DESIGN.items() for a in ("--" + k, v)]))
    technical = program.find(main, pyatspi.ROLE_PUSH_BUTTON, "TECHNICAL")
    shown = texts(program, main)
    check_results(expected, shown)
    # Each capacity is described by its row and its size, as a sighted user reads the table.
    described = {(a.name, a.description) for a in program.objects(main)
                 if a.getRole() == pyatspi.ROLE_LABEL}
    heading = " ".join(expected["headings"]["capacity"].split())
    undescribed = [(f"{s['anchorCapacity']:.2f}", f"{heading}, {s['size']}")
                   for s in expected["sizes"]]
    undescribed = [d for d in undescribed if d not in described]
    assert not undescribed, f"not described: {undescribed}"

    if dump_to:
        dump(main, dump_to)

    # The help window and the data sheet, opened by their commands, read and closed.
    program.press(program.find(main, pyatspi.ROLE_PUSH_BUTTON, "Help"))
    help_window = program.window(lambda w: any(len(t) > 200 for t in texts(program, w)))
    program.press(program.find(help_window, pyatspi.ROLE_PUSH_BUTTON, "Back"))
    wait_for("the help window closed",
             lambda: not help_window.getState().contains(pyatspi.STATE_SHOWING), 10)

    program.press(technical)
    sheet = program.window(lambda w: "Size" in texts(program, w))
    sheet_text = " ".join(texts(program, sheet))
    # The sheet of the chosen size: "M10" is titled "... M 10".
    size = expected["chosen"]["size"]
    assert f"M {size[1:]}" in sheet_text, (size, sheet_text[:400])
    program.press(program.find(sheet, pyatspi.ROLE_PUSH_BUTTON, "Back"))
    wait_for("the data sheet closed",
             lambda: not sheet.getState().contains(pyatspi.STATE_SHOWING), 10)


def check_results(expected, shown):
    """The chosen anchor, the heading and each size's capacity, as kiila-calc gives them."""
    print("read:", shown)
    wanted = [" ".join(expected["chosen"]["anchorText"].split()),
              expected["headings"]["capacity"].strip()]
    wanted += [f"{s['anchorCapacity']:.2f}" for s in expected["sizes"]]
    missing = [w for w in wanted if w not in shown]
    assert not missing, f"not read: {missing}"
    assert "" not in shown, "a label without a caption is read"


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == "--inner":
        sys.exit(inner(sys.argv[2:]))
    if len(sys.argv) < 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(outer(sys.argv[1:]))
