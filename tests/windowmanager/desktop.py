#!/usr/bin/env python3
"""Runs kiila under a real window manager and checks how its windows stack and take the focus.

    desktop.py KIILA

Starts a virtual X server of 1366 x 768 pixels, openbox with a private configuration that keeps
a 32-pixel panel strip free at the top of the screen, and the program, with no printer. Drives
it with xdotool (keys, clicks, a drag) and reads the window manager's view of the windows from
the root window's properties (_NET_ACTIVE_WINDOW, _NET_CLIENT_LIST_STACKING, _NET_WORKAREA)
with xprop and xwininfo. Checks, under openbox:

- the main window opens inside the work area, keeps a task-bar entry with its title, and a drag
  on its background moves it;
- after each window command (info, help, technical data, its print question, back) the window
  shown is the active one and on top, inside the work area;
- after the report's No, its confirmation's close box, Yes and the Finnish Kyllä (no printer:
  the message and the save dialog, both cancelled) the report page is gone with its
  confirmation, and the main window is active and on top, and a click on one of its fields
  where the report page stood lands in it.

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

# Places in the windows, in pixels from the top-left of their client area.
MAIN_BACKGROUND = (320, 30)   # the title strip between the logo and the flags: no control
MAIN_FIELD_NSD = (868, 236)   # Text6, under the report page while it is shown
MAIN_FIELD_C1 = (868, 104)    # Text1
MAIN_INFO = (546, 28)         # the info command
CONFIRM_YES = (106, 142)      # Command1 of the English confirmation
CONFIRM_NO = (240, 142)       # Command2
CONFIRM_KYLLA = (110, 142)    # Command1 of the Finnish confirmation


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
    for with_wm in (True, False):
        for _ in range(3):
            code = run_on_new_display(args, with_wm)
            if code != NO_DISPLAY:
                break
        else:
            skip("the program could not reach a virtual display")
        if code:
            return code
    print("PASS")
    return 0


def run_on_new_display(args, with_wm):
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1366x768x24",
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
            Desktop(program).check()
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
                    window = wait_for("the main window", lambda: [
                        w for w in clients() if w not in before and geometry(w)[2:] == (1027, 768)],
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
                            lambda: [w for w in viewable() if geometry(w)[2:] == (351, 182)])[0]
    click(confirmation, CONFIRM_NO)
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


def click(window, at):
    x, y, _, _ = geometry(window)
    run("xdotool", "mousemove", "--sync", str(x + at[0]), str(y + at[1]), "click", "1")


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
        """The one window managed now that was not before (of the size given)."""
        def probe():
            assert self.program.poll() is None, "the program ended"
            new = [w for w in clients() if w not in before and
                   (size is None or geometry(w)[2:] == size)]
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
        # A window too large for the area keeps its top-left corner in it; one that fits lies
        # wholly inside.
        if x < left or y < top or (w <= right - left and x + w > right) or (
                h <= bottom - top and y + h > bottom):
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
        # A task-bar entry with the window's title: a normal window, not skipped by task bars.
        p = props(main)
        if "KALVEX" not in name(main) or "SKIP_TASKBAR" in p or "TYPE_NORMAL" not in p:
            self.fail("the main window has no task-bar entry with its title: " + p)

        # A drag on the background moves the borderless window: by the way the pointer went
        # once the drag began (the desktop's drag distance, at most 20 pixels, is a click).
        x, y, _, _ = geometry(main)
        run("xdotool", "mousemove", "--sync", str(x + MAIN_BACKGROUND[0]),
            str(y + MAIN_BACKGROUND[1]), "mousedown", "1")
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
                            "the main window after the help's back")

        # The report: No, the confirmation's close box, Yes without a printer.
        before = self.print_command()
        report = self.new_window(before, "the report page", (750, 588))
        confirmation = self.new_window(before, "the confirmation", (351, 182))
        self.in_front(confirmation, "the confirmation")
        self.inside_work_area(report, "the report page")
        click(confirmation, CONFIRM_NO)
        self.gone(confirmation, "the confirmation closed by No")
        # The page was shown to be printed: it goes with its confirmation, from the task bar too.
        self.gone(report, "the report page after No")
        self.main_takes_click("the main window after No")

        before = self.print_command()
        report = self.new_window(before, "the report page again", (750, 588))
        confirmation = self.new_window(before, "the confirmation", (351, 182))
        self.in_front(confirmation, "the confirmation again")
        key("alt+F4")
        self.gone(confirmation, "the confirmation closed by its close box")
        self.gone(report, "the report page after the confirmation's close box")
        self.main_takes_click("the main window after the confirmation's close box")

        # Yes with no printer: the message, then the dialog to save the page instead, both
        # cancelled; both over the report page, which stays above the main window until they
        # are answered. In English, then in Finnish (Ctrl+L switches).
        for yes, size, at in (("Yes", (351, 182), CONFIRM_YES),
                              ("Kyllä", (352, 172), CONFIRM_KYLLA)):
            if yes == "Kyllä":
                key("ctrl+l")
            before = self.print_command()
            report = self.new_window(before, "the report page", (750, 588))
            confirmation = self.new_window(before, "the confirmation", size)
            self.in_front(confirmation, "the confirmation before " + yes)
            before = clients()
            click(confirmation, at)
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


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(outer(sys.argv[1:]))
