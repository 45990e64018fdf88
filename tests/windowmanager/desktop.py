#!/usr/bin/env python3
"""Runs kiila under a real window manager and checks how its windows stack and take the focus.

    desktop.py KIILA

Starts a virtual X server of 1366 x 768 pixels, and one of 1024 x 600, each with openbox and a
private configuration that keeps a 32-pixel panel strip free at the top of the screen, and the
program, with no printer. Drives
it with xdotool (keys, clicks, a drag) and reads the window manager's view of the windows from
the root window's properties (_NET_ACTIVE_WINDOW, _NET_CLIENT_LIST_STACKING, _NET_WORKAREA)
with xprop and xwininfo. Checks, under openbox:

- the main window opens wholly inside the work area, at the largest zoom step that fits there
  (90 % on 1366 x 768, 67 % on 1024 x 600), keeps a task-bar entry with its title, and a drag
  on its background moves it;
- after each window command (info, help, technical data, its print question, back) the window
  shown is the active one and on top, inside the work area;
- after the report's No, its confirmation's close box, Yes and the Finnish Kyllä (no printer:
  the message and the save dialog, both cancelled) the report page is gone with its
  confirmation, and the main window is active and on top, and a click on one of its fields
  where the report page stood lands in it;
- at each zoom tested (Ctrl+minus, Ctrl+plus and Ctrl+0 set it) a click on a field and on the
  calculate command land: C1 too small gives the calculation's message; after a calculation the
  data sheet opens over the main window where it stands, inside the work area, and so does the
  help window;
- the zoom is kept: the program started again opens at the zoom last chosen.

Then a new program ends within 0.7 s of Ctrl+Q, and of the window manager's close key, with a
session bus and without one.

Then, on a new display without a window manager, where the program stacks its windows itself:
after a calculation and a cancelled print the first technical data comes on top of the main
window with the keyboard focus.

Exits 77 (skipped) where Xvfb, openbox, xprop, xwininfo or xdotool is missing.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
NO_DISPLAY = 3  # the program ended before it showed a window
PANEL = 32      # the strip at the top of the screen that windows must not cover

RC_XML = f"""<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <margins><top>{PANEL}</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
  </keyboard>
  <mouse><context name="Client">
    <mousebind button="Left" action="Press">
      <action name="Focus"/><action name="Raise"/>
    </mousebind>
  </context></mouse>
</openbox_config>
"""

SCREENS = ((1366, 768), (1024, 600))

# Places in the windows at 100 %, in pixels from the top-left of their client area; a click
# scales them by the window's zoom.
MAIN_WIDTH = 1027             # the main window's width at 100 %
MAIN_BACKGROUND = (320, 30)   # the title strip between the logo and the flags: no control
MAIN_FIELD_NSD = (868, 236)   # Text6, under the report page while it is shown
MAIN_FIELD_C1 = (868, 104)    # Text1
MAIN_INFO = (546, 28)         # the info command
MAIN_CALCULATE = (810, 448)   # ImgCalc, the calculate command
CONFIRM_WIDTH = 351           # the confirmations' width at 100 % (the Finnish one: 352)
CONFIRM_YES = (106, 142)      # Command1 of the English confirmation
CONFIRM_NO = (240, 142)       # Command2
CONFIRM_KYLLA = (110, 142)    # Command1 of the Finnish confirmation
ZOOM_STEPS = (50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200)


def report_page(size):
    """The report page (750 x 588 at 100 %) at any zoom, not its confirmation."""
    return size[0] > 500


def confirmation_size(size):
    return size[0] < 500


def skip(reason):
    print("SKIP: " + reason)
    sys.exit(SKIP)


def run(*args):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL).stdout.decode()


def wait_for(what, probe, seconds=10):
    end = time.time() + seconds
    value = None
    while time.time() < end:
        value = probe()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what}")


def outer(args):
    for tool in ("Xvfb", "openbox", "xprop", "xwininfo", "xdotool"):
        if not shutil.which(tool):
            skip(f"{tool} is not installed (tools/setup.sh installs it)")
    for with_wm, screen in [(True, size) for size in SCREENS] + [(False, SCREENS[0])]:
        for _ in range(3):
            code = run_on_new_display(args, with_wm, screen)
            if code != NO_DISPLAY:
                break
        else:
            skip("the program could not reach a virtual display")
        if code:
            return code
    print("PASS")
    return 0


def run_on_new_display(args, with_wm, screen):
    print(f"on {screen[0]} x {screen[1]}" + (" under openbox" if with_wm else ""), flush=True)
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0",
                             f"{screen[0]}x{screen[1]}x24",
                             "-nolisten", "tcp"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    home = tempfile.mkdtemp(prefix="kiila-wm-")
    wm = program = None
    try:
        line = xvfb.stdout.readline().decode().strip()
        if not line.isdigit():
            return NO_DISPLAY
        os.environ["DISPLAY"] = ":" + line
        if with_wm:
            rc = os.path.join(home, "rc.xml")
            with open(rc, "w", encoding="utf-8") as f:
                f.write(RC_XML)
            wm = subprocess.Popen(["openbox", "--config-file", rc], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, env=dict(os.environ, HOME=home))
            wait_for("openbox", lambda: "window id" in root("_NET_SUPPORTING_WM_CHECK"), 20)
        # No print server: there is no default printer.
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", HOME=home, LANG="C.UTF-8",
                   LC_ALL="C.UTF-8", XDG_CONFIG_HOME=os.path.join(home, "config"),
                   CUPS_SERVER=os.path.join(home, "no-cups"))
        env.pop("QT_QPA_PLATFORMTHEME", None)
        program = subprocess.Popen([args[0]], env=env)
        shown = clients if with_wm else viewable
        try:
            wait_for("the main window", lambda: program.poll() is not None or shown(), 30)
        except AssertionError:
            return NO_DISPLAY
        if program.poll() is not None:
            return NO_DISPLAY
        if with_wm:
            desktop = Desktop(program)
            desktop.check()
            kept = desktop.zoom_checks()
            # Started again, the program opens at the zoom chosen last.
            program.terminate()
            program.wait()
            # The ended program's windows go first, so that the next one found is the new one's.
            wait_for("the windows of the ended program to go", lambda: not clients(), 30)
            program = subprocess.Popen([args[0]], env=env)
            wait_for("the main window again", lambda: program.poll() is None and clients(), 30)
            Desktop(program).opens_at(kept)
            program.terminate()
            program.wait()
            program = None
            prompt_exit(args, env, home)
        else:
            bare_display(program)
        return 0
    finally:
        for p in (program, wm):
            if p:
                p.terminate()
                p.wait()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(home, ignore_errors=True)


EXIT_BOUND = 0.7  # seconds from the key to the end of the process: a fault check, not a benchmark


def prompt_exit(args, env, home):
    """Ctrl+Q, and closing the window with the window manager's key, end the process promptly,
    with a session bus (and the accessibility bridge on it) and without one."""
    bus = None
    buses = [("without a session bus",
              dict(env, DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(home, "no-bus")))]
    if shutil.which("dbus-daemon"):
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        address = bus.stdout.readline().decode().strip()
        buses.insert(0, ("with a session bus",
                         dict(env, DBUS_SESSION_BUS_ADDRESS=address,
                              QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")))
    slow = []
    try:
        for what, bus_env in buses:
            for keys in ("ctrl+q", "alt+F4"):
                before = clients()
                program = subprocess.Popen([args[0]], env=bus_env)
                try:
                    # The main window, at whatever zoom fits the screen.
                    window = wait_for("the main window", lambda: [
                        w for w in clients() if w not in before and geometry(w)[2] >= 500],
                        30)[0]
                    run("xdotool", "windowactivate", "--sync", str(window))
                    time.sleep(0.5)
                    start = time.monotonic()
                    key(keys)
                    try:
                        program.wait(5)
                    except subprocess.TimeoutExpired:
                        pass
                    took = time.monotonic() - start
                    print(f"{keys} {what}: the process ended after {took:.2f} s", flush=True)
                    if program.poll() is None or took > EXIT_BOUND:
                        slow.append(f"{keys} {what}: the process ended {took:.2f} s after the key")
                finally:
                    if program.poll() is None:
                        program.kill()
                    program.wait()
    finally:
        if bus:
            bus.terminate()
            bus.wait()
    for line in slow:
        print("FAIL: " + line, flush=True)
    assert not slow, "the program does not end promptly"


def viewable():
    """Without a window manager: the program's windows on the screen, topmost first."""
    ids = [line.split()[0] for line in run("xwininfo", "-root", "-children").splitlines()
           if line.strip().startswith("0x")]
    out = []
    for w in ids:
        info = run("xwininfo", "-id", w)
        # Qt's own helper windows are 1 x 1 or never mapped.
        if "IsViewable" in info and geometry(int(w, 16))[2] > 1:
            out.append(int(w, 16))
    return out


def calculate():
    """Arrangement 1 calculated from the keyboard, the focus in C1 of the main window."""
    key("ctrl+a")
    run("xdotool", "type", "150")
    for value in ("150", "4", "2"):
        key("Tab")
        run("xdotool", "type", value)
    key("Return")
    time.sleep(0.5)


def bare_display(program):
    """Without a window manager the program stacks its windows itself: after a calculation (a
    data sheet is made ready meanwhile) and a cancelled print, the first technical data comes
    on top of the main window and takes the keyboard focus."""
    main = viewable()[0]
    click(main, MAIN_FIELD_C1)
    calculate()
    time.sleep(1)  # the program waits: the sheet is made ready
    key("ctrl+p")
    confirmation = wait_for("the confirmation",
                            lambda: [w for w in viewable()
                                     if confirmation_size(geometry(w)[2:])])[0]
    click(confirmation, CONFIRM_NO, CONFIRM_WIDTH)
    wait_for("the confirmation closed", lambda: confirmation not in viewable())
    wait_for("the main window on top", lambda: viewable()[0] == main)
    key("ctrl+t")
    try:
        sheet = wait_for("the data sheet on top", lambda: viewable()[0] != main and
                         geometry(viewable()[0])[2:] == (1027, 768) and viewable()[0])
    except AssertionError:
        raise AssertionError("the first data sheet is not on top: "
                             + ", ".join(name(w) for w in viewable()))
    focus = int(run("xdotool", "getwindowfocus").strip())
    assert focus == sheet, f"the keyboard focus is in {name(focus)!r}, not in the data sheet"


def root(prop):
    try:
        return run("xprop", "-root", "-notype", prop)
    except subprocess.CalledProcessError:
        return ""


def window_ids(prop):
    text = root(prop)
    if "#" not in text:
        return []
    return [int(w, 16) for w in text.split("#", 1)[1].replace(",", " ").split()]


def clients():
    """The windows the window manager manages, lowest first."""
    return window_ids("_NET_CLIENT_LIST_STACKING")


def active():
    ids = window_ids("_NET_ACTIVE_WINDOW")
    return ids[0] if ids else 0


def work_area():
    values = [int(v) for v in root("_NET_WORKAREA").split("=", 1)[1].split(",")[:4]]
    return values[0], values[1], values[0] + values[2], values[1] + values[3]


def geometry(window):
    """The client area's place on the screen and its size (xdotool counts a frame twice)."""
    info = {}
    for line in run("xwininfo", "-id", str(window)).splitlines():
        field, _, value = line.strip().partition(":")
        info[field] = value.strip()
    return (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]),
            int(info["Width"]), int(info["Height"]))


def props(window):
    return run("xprop", "-id", str(window), "_NET_WM_NAME", "_NET_WM_STATE",
               "_NET_WM_WINDOW_TYPE")


def key(keys):
    run("xdotool", "key", "--clearmodifiers", keys)


def zoom_of(window, width_at_100=MAIN_WIDTH):
    """The zoom step a window is drawn at, from its width."""
    width = geometry(window)[2]
    return min(ZOOM_STEPS, key=lambda step: abs(round(width_at_100 * step / 100) - width))


def click(window, at, width_at_100=MAIN_WIDTH):
    """A click at a place given at 100 %, where the window's zoom puts it."""
    x, y, _, _ = geometry(window)
    zoom = zoom_of(window, width_at_100) / 100
    run("xdotool", "mousemove", "--sync", str(x + round(at[0] * zoom)),
        str(y + round(at[1] * zoom)), "click", "1")


def name(window):
    line = [p for p in props(window).splitlines() if p.startswith("_NET_WM_NAME")]
    return line[0].split("=", 1)[1].strip().strip('"') if line else ""


class Desktop:
    def __init__(self, program):
        self.program = program
        self.main = clients()[0]
        self.failures = []

    def fail(self, message):
        """A failed check is told and the walk goes on, so that one run shows every fault."""
        print("FAIL: " + message, flush=True)
        self.failures.append(message)

    def describe(self):
        return "; ".join(f"{name(w)!r} {geometry(w)}" + (" (active)" if w == active() else "")
                         for w in clients())

    def in_front(self, window, what):
        """The window becomes the active one and the top of the stack."""
        def probe():
            assert self.program.poll() is None, "the program ended"
            stack = clients()
            return window in stack and stack[-1] == window and active() == window
        try:
            wait_for(what, probe)
        except AssertionError:
            self.fail(f"{what}: not active on top; lowest first: {self.describe()}")

    def new_window(self, before, what, size=None):
        """The one window managed now that was not before (whose size passes size())."""
        def probe():
            assert self.program.poll() is None, "the program ended"
            new = [w for w in clients() if w not in before and
                   (size is None or size(geometry(w)[2:]))]
            return new[0] if new else None
        try:
            return wait_for(what, probe)
        except AssertionError:
            raise AssertionError(f"{what} did not appear; lowest first: {self.describe()}")

    def gone(self, window, what):
        wait_for(what, lambda: window not in clients())

    def inside_work_area(self, window, what):
        left, top, right, bottom = work_area()
        x, y, w, h = geometry(window)
        assert top == PANEL, f"openbox keeps no panel strip: work area {work_area()}"
        if x < left or y < top or x + w > right or y + h > bottom:
            self.fail(f"{what} at {x},{y} {w}x{h} is not inside the work area {work_area()}")

    def shown_and_back(self, open_window, what, back_to, back_what, inside=False):
        """The window open_window() opens is in front (inside the work area); Esc closes it and
        back_to is in front again."""
        before = clients()
        open_window()
        window = self.new_window(before, what)
        self.in_front(window, what)
        if inside:
            self.inside_work_area(window, what)
        key("Escape")
        self.gone(window, what + " closed")
        self.in_front(back_to, back_what)

    def page_above_main(self, report, what):
        stack = clients()
        if report not in stack or stack.index(report) < stack.index(self.main):
            self.fail(f"{what}: the report page is not above the main window; lowest first: "
                      f"{self.describe()}")

    def main_takes_click(self, what):
        self.in_front(self.main, what)
        click(self.main, MAIN_FIELD_NSD)
        time.sleep(0.3)
        self.in_front(self.main, what + ", then a click on the main window's field")

    def print_command(self):
        """Ctrl+P in the main window, made active first should an earlier check have failed."""
        if active() != self.main:
            run("xdotool", "windowactivate", "--sync", str(self.main))
        before = clients()
        key("ctrl+p")
        return before

    def check(self):
        main = self.main
        self.in_front(main, "the main window at start")
        self.inside_work_area(main, "the main window")
        # The largest step that fits the work area (the zoom kept is 100 % at first).
        left, top, right, bottom = work_area()
        fits = max(step for step in ZOOM_STEPS if step <= 100 and
                   round(768 * step / 100) <= bottom - top and
                   round(MAIN_WIDTH * step / 100) <= right - left)
        if zoom_of(main) != fits:
            self.fail(f"the main window opens at {zoom_of(main)} %, not at {fits} %, "
                      f"in the work area {work_area()}")
        # A task-bar entry with the window's title: a normal window, not skipped by task bars.
        p = props(main)
        if "KALVEX" not in name(main) or "SKIP_TASKBAR" in p or "TYPE_NORMAL" not in p:
            self.fail("the main window has no task-bar entry with its title: " + p)

        # A drag on the background moves the borderless window: by the way the pointer went
        # once the drag began (the desktop's drag distance, at most 20 pixels, is a click).
        x, y, _, _ = geometry(main)
        zoom = zoom_of(main) / 100
        run("xdotool", "mousemove", "--sync", str(x + round(MAIN_BACKGROUND[0] * zoom)),
            str(y + round(MAIN_BACKGROUND[1] * zoom)), "mousedown", "1")
        for _ in range(12):
            run("xdotool", "mousemove_relative", "--sync", "--", "-10", "0")
            time.sleep(0.05)
        run("xdotool", "mouseup", "1")
        try:
            wait_for("the main window moved",
                     lambda: geometry(main)[1] == y and 100 <= x - geometry(main)[0] <= 120, 5)
        except AssertionError:
            self.fail(f"a drag from {x},{y} by -120,0 left the main window at "
                      f"{geometry(main)[:2]}")
        time.sleep(0.3)

        # The window commands: info (by the mouse, right after the drag), help, back.
        self.shown_and_back(lambda: click(main, MAIN_INFO), "the disclaimer", main,
                            "the main window after the disclaimer's back", inside=True)
        self.shown_and_back(lambda: key("F1"), "the help window", main,
                            "the main window after the help's back", inside=True)

        # The report: No, the confirmation's close box, Yes without a printer.
        before = self.print_command()
        report = self.new_window(before, "the report page", report_page)
        confirmation = self.new_window(before, "the confirmation", confirmation_size)
        self.in_front(confirmation, "the confirmation")
        self.inside_work_area(report, "the report page")
        click(confirmation, CONFIRM_NO, CONFIRM_WIDTH)
        self.gone(confirmation, "the confirmation closed by No")
        # The page was shown to be printed: it goes with its confirmation, from the task bar too.
        self.gone(report, "the report page after No")
        self.main_takes_click("the main window after No")

        before = self.print_command()
        report = self.new_window(before, "the report page again", report_page)
        confirmation = self.new_window(before, "the confirmation", confirmation_size)
        self.in_front(confirmation, "the confirmation again")
        key("alt+F4")
        self.gone(confirmation, "the confirmation closed by its close box")
        self.gone(report, "the report page after the confirmation's close box")
        self.main_takes_click("the main window after the confirmation's close box")

        # Yes with no printer: the message, then the dialog to save the page instead, both
        # cancelled; both over the report page, which stays above the main window until they
        # are answered. In English, then in Finnish (Ctrl+L switches).
        for yes, at in (("Yes", CONFIRM_YES), ("Kyllä", CONFIRM_KYLLA)):
            if yes == "Kyllä":
                key("ctrl+l")
            before = self.print_command()
            report = self.new_window(before, "the report page", report_page)
            confirmation = self.new_window(before, "the confirmation", confirmation_size)
            self.in_front(confirmation, "the confirmation before " + yes)
            before = clients()
            click(confirmation, at, CONFIRM_WIDTH)
            message = self.new_window(before, "the message that nothing was printed")
            self.in_front(message, "the message after " + yes)
            self.page_above_main(report, "the message after " + yes)
            before = clients()
            key("Return")
            self.gone(message, "the message answered")
            dialog = self.new_window(before, "the dialog to save the page instead")
            self.in_front(dialog, "the save dialog after " + yes)
            self.page_above_main(report, "the save dialog after " + yes)
            key("Escape")
            self.gone(dialog, "the save dialog cancelled")
            self.gone(report, "the report page after " + yes)
            self.main_takes_click("the main window after " + yes)
        key("ctrl+l")

        # A calculation, then the technical data (the first after the cancelled prints), its
        # help, and back to the main window (closing the sheet hides its command).
        click(main, MAIN_FIELD_C1)
        calculate()
        before = clients()
        key("ctrl+t")
        sheet = self.new_window(before, "the data sheet")
        self.in_front(sheet, "the data sheet")
        self.inside_work_area(sheet, "the data sheet")
        # Its print question (a message box in English), answered No with Esc.
        self.shown_and_back(lambda: key("ctrl+p"), "the data sheet's print question", sheet,
                            "the data sheet after its print question")
        self.shown_and_back(lambda: key("F1"), "the help window over the data sheet", sheet,
                            "the data sheet after the help's back")
        key("Escape")
        self.gone(sheet, "the data sheet closed")
        self.in_front(main, "the main window after the data sheet's back")
        assert not self.failures, f"{len(self.failures)} checks failed"
        print("PASS under openbox")

    def over_main(self, window, what):
        """A screen-size window stands where the main window stands."""
        if geometry(window) != geometry(self.main):
            self.fail(f"{what} at {geometry(window)} is not over the main window "
                      f"at {geometry(self.main)}")

    def zoom_checks(self):
        """At each zoom that fits the screen, a click on a field and one on the calculate
        command land; the data sheet and the help window open over the main window, wherever it
        stands. Returns the zoom chosen last."""
        main = self.main
        left, top, right, bottom = work_area()
        fitting = [step for step in ZOOM_STEPS
                   if round(768 * step / 100) <= bottom - top and
                   round(MAIN_WIDTH * step / 100) <= right - left]
        # Ctrl+0 gives 100 %, then Ctrl+minus steps down to each zoom tested.
        tested = [step for step in (90, 75, 67, 50) if step in fitting][:2]
        run("xdotool", "windowactivate", "--sync", str(main))
        key("ctrl+0")
        wait_for("100 %", lambda: zoom_of(main) == 100, 5)
        for zoom in tested:
            while zoom_of(main) > zoom:
                before = zoom_of(main)
                key("ctrl+minus")
                wait_for(f"a step below {before} %", lambda: zoom_of(main) < before, 5)
            if zoom_of(main) != zoom:
                self.fail(f"Ctrl+minus gave {zoom_of(main)} %, not {zoom} %")
                continue
            self.inside_work_area(main, f"the main window at {zoom} %")
            # The drag of the earlier check left the window off the centre; move it again so
            # that the windows opened over it are not centred by chance.
            x, y, w, h = geometry(main)
            run("xdotool", "windowmove", "--sync", str(main), str(left + (right - left - w) // 3),
                str(max(top, top + (bottom - top - h) // 2 - 5)))
            time.sleep(0.3)
            self.clicks_land(zoom)
            before = clients()
            key("ctrl+t")
            sheet = self.new_window(before, f"the data sheet at {zoom} %")
            self.in_front(sheet, f"the data sheet at {zoom} %")
            self.inside_work_area(sheet, f"the data sheet at {zoom} %")
            self.over_main(sheet, f"the data sheet at {zoom} %")
            key("Escape")
            self.gone(sheet, "the data sheet closed")
            self.in_front(main, "the main window after the data sheet")
            before = clients()
            key("F1")
            help_window = self.new_window(before, f"the help window at {zoom} %")
            self.inside_work_area(help_window, f"the help window at {zoom} %")
            self.over_main(help_window, f"the help window at {zoom} %")
            key("Escape")
            self.gone(help_window, "the help window closed")
            self.in_front(main, "the main window after the help window")
        # Ctrl+plus makes the window larger again, a step at a time.
        before = zoom_of(main)
        key("ctrl+plus")
        wait_for("Ctrl+plus", lambda: zoom_of(main) > before, 5)
        kept = zoom_of(main)
        assert not self.failures, f"{len(self.failures)} checks failed"
        print(f"PASS at {', '.join(f'{z} %' for z in tested)}")
        return kept

    def clicks_land(self, zoom):
        """Clicks on the fields and on the calculate command reach them: C1 too small stops the
        calculation with its message, a sound C1 calculates (the technical data then opens)."""
        main = self.main
        click(main, MAIN_FIELD_NSD)
        key("ctrl+a")
        run("xdotool", "type", "4")
        click(main, MAIN_FIELD_C1)
        key("ctrl+a")
        run("xdotool", "type", "10")
        before = clients()
        click(main, MAIN_CALCULATE)
        try:
            message = self.new_window(before, "the message that C1 is too small")
        except AssertionError:
            self.fail(f"at {zoom} % the clicks on C1 and on the calculate command gave no message")
            return
        key("Return")
        self.gone(message, "the message answered")
        self.in_front(main, "the main window after the message")
        click(main, MAIN_FIELD_C1)
        key("ctrl+a")
        run("xdotool", "type", "150")
        click(main, MAIN_CALCULATE)
        time.sleep(0.5)

    def opens_at(self, zoom):
        """The program started again opens at the zoom kept, inside the work area."""
        self.in_front(self.main, "the main window started again")
        if zoom_of(self.main) != zoom:
            self.fail(f"started again, the main window opens at {zoom_of(self.main)} %, "
                      f"not at the {zoom} % kept")
        self.inside_work_area(self.main, "the main window started again")
        assert not self.failures, f"{len(self.failures)} checks failed"
        print(f"PASS: the zoom of {zoom} % kept")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(outer(sys.argv[1:]))
