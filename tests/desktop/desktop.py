"""Harness of the real-display tier.

Each test gets a private X display (Xvfb), its own D-Bus session, its own
accessibility bus, the openbox window manager and an empty configuration
folder. The calculator is the built program, driven with real X input
(xdotool) and read back over AT-SPI (pyatspi), the clipboard (xclip) and the
settings file. Only the processes started here are stopped, by their PIDs.

Run with the system interpreter (/usr/bin/python3), which has pyatspi.
CTest passes TARVELO_PROGRAM (the built program) and TARVELO_ARTIFACTS (a
folder for screenshots and logs of a failing test).
"""

import importlib.util
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 1024
MAIN_KEY = r"Software\Vorl Group\Tarvelo Calculator\2.20"
TOOLS = ("Xvfb", "openbox", "xdotool", "xprop", "xwininfo", "wmctrl", "xclip", "dbus-daemon")
A11Y_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
# Not skipped in CI: there a missing tool is a broken install step.
SKIP = 77


class DesktopError(AssertionError):
    pass


# The session bus whose accessibility bus this process reads: libatspi
# connects once per process.
_ATSPI_SESSION = None


def wait_until(what, predicate, timeout=10.0, interval=0.05):
    """Polls `predicate` until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise DesktopError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def holds_within(predicate, timeout):
    """Whether `predicate` comes true within `timeout` seconds; the caller
    reports what it saw otherwise."""
    try:
        wait_until("a condition", predicate, timeout=timeout)
        return True
    except DesktopError:
        return False


def descendants(pids):
    """The live processes below `pids` (children of children included)."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                # The command may hold spaces and parentheses: split after the last ')'.
                ppid = int(stat.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        children.setdefault(ppid, []).append(int(entry))
    found, todo = [], list(pids)
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def xwd_to_png(xwd, png_path):
    """Writes Xvfb's framebuffer file (XWD, 32 bits per pixel) as a PNG."""
    header = struct.unpack(">25I", xwd[:100])
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bpp, bytes_per_line, ncolors = header[7], header[11], header[12], header[19]
    if bpp != 32:
        raise DesktopError(f"framebuffer has {bpp} bits per pixel")
    start = header_size + ncolors * 12
    rows = []
    for y in range(height):
        line = xwd[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
        if byte_order == 0:  # LSBFirst: B, G, R, pad
            pixels = bytearray(width * 3)
            pixels[0::3], pixels[1::3], pixels[2::3] = line[2::4], line[1::4], line[0::4]
        else:
            pixels = bytearray(width * 3)
            pixels[0::3], pixels[1::3], pixels[2::3] = line[1::4], line[2::4], line[3::4]
        rows.append(b"\0" + bytes(pixels))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(png_path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(b"".join(rows), 6)))
        out.write(chunk(b"IEND", b""))


# ---------------------------------------------------------------- settings file

def settings_text(keys):
    """The settings file for {key path: {name: value}}; a value is an int
    (dword), a str (text) or bytes (binary)."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    for path, values in keys.items():
        lines.append(f"[HKEY_CURRENT_USER\\{path}]")
        for name, value in values.items():
            if isinstance(value, bool) or isinstance(value, int):
                lines.append(f'"{name}"=dword:{value & 0xFFFFFFFF:08x}')
            elif isinstance(value, bytes):
                lines.append(f'"{name}"=hex:' + ",".join(f"{b:02x}" for b in value))
            else:
                escaped = value.replace("\\", "\\\\").replace('"', '\\"')
                lines.append(f'"{name}"="{escaped}"')
        lines.append("")
    return "\r\n".join(lines) + "\r\n"


def parse_settings(text):
    """{key path: {name: int | str | bytes}} of a settings file."""
    keys, current = {}, None
    for raw in text.splitlines():
        line = raw.strip()
        if line.startswith("[") and line.endswith("]"):
            path = line[1:-1]
            if path.startswith("HKEY_CURRENT_USER\\"):
                path = path[len("HKEY_CURRENT_USER\\"):]
            current = keys.setdefault(path, {})
            continue
        match = re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)
        if not match or current is None:
            continue
        name, data = match.group(1), match.group(2)
        if data.startswith("dword:"):
            current[name] = int(data[6:], 16)
        elif data.startswith("hex:"):
            current[name] = bytes(int(b, 16) for b in data[4:].split(",") if b)
        elif data.startswith('"'):
            current[name] = re.sub(r"\\(.)", r"\1", data[1:-1])
    return keys


def placement_record(left, top, width, height, state=0):
    return struct.pack("<iiiiB3x", left, top, left + width, top + height, state)


def decode_placement(record):
    """(left, top, width, height, state) of a "Position" record."""
    left, top, right, bottom, state = struct.unpack("<iiiiB3x", record[:20])
    return left, top, right - left, bottom - top, state


# ---------------------------------------------------------------- the display

class Desktop:
    """A private X display with a window manager and the two buses."""

    def __init__(self, artifacts, name):
        self.artifacts = artifacts
        self.name = name
        self.processes = []  # (what, Popen), in start order
        self.scratch = tempfile.mkdtemp(prefix="tarvelo-desktop-")
        self.config = os.path.join(self.scratch, "config")
        runtime = os.path.join(self.scratch, "runtime")
        self.fbdir = os.path.join(self.scratch, "fb")
        for folder in (self.config, runtime, self.fbdir):
            os.makedirs(folder, mode=0o700)
        # Nothing of the caller's session leaks in: no display, bus or
        # platform choice of its own.
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": os.environ.get("HOME", self.scratch),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "XDG_CONFIG_HOME": self.config,
            "XDG_CACHE_HOME": os.path.join(self.scratch, "cache"),
            "XDG_DATA_HOME": os.path.join(self.scratch, "data"),
            "XDG_RUNTIME_DIR": runtime,
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        }
        self.log = open(os.path.join(artifacts, f"{name}.log"), "w")

    # -- start and stop

    def start(self):
        self._start_display()
        self._start_session_bus()
        self._start_accessibility_bus()
        self._start_window_manager()
        # This process reads the accessibility bus of this session only.
        os.environ.update({k: self.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR")})
        return self

    def _spawn(self, what, argv, **kwargs):
        process = subprocess.Popen(argv, env=self.env, stdout=kwargs.pop("stdout", self.log),
                                   stderr=self.log, stdin=subprocess.DEVNULL, **kwargs)
        self.processes.append((what, process))
        return process

    def _read_line(self, fd, what, timeout=10.0):
        """The first line written to the pipe `fd` by a process started here."""
        data = b""
        deadline = time.monotonic() + timeout
        os.set_blocking(fd, False)
        while not data.endswith(b"\n"):
            try:
                chunk = os.read(fd, 256)
            except BlockingIOError:
                chunk = None
            if chunk == b"":
                break
            if chunk:
                data += chunk
            elif time.monotonic() > deadline:
                raise DesktopError(f"timed out waiting for {what}")
            else:
                time.sleep(0.02)
        os.close(fd)
        if not data.strip():
            raise DesktopError(f"{what}: nothing was written")
        return data.decode().strip()

    def _start_display(self):
        read_fd, write_fd = os.pipe()
        self._spawn("Xvfb", ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                             f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24", "-nolisten", "tcp", "-fbdir", self.fbdir,
                             "-noreset"], pass_fds=(write_fd,))
        os.close(write_fd)
        self.env["DISPLAY"] = ":" + self._read_line(read_fd, "the X display number")

    def _start_session_bus(self):
        read_fd, write_fd = os.pipe()
        self._spawn("dbus-daemon", ["dbus-daemon", "--session", "--nofork", f"--print-address={write_fd}"],
                    pass_fds=(write_fd,))
        os.close(write_fd)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._read_line(read_fd, "the D-Bus session address")

    def _start_accessibility_bus(self):
        self._spawn("at-spi-bus-launcher", [A11Y_BUS_LAUNCHER, "--launch-immediately"])

        def announced():
            # The launcher puts the bus address on the root window once the bus runs.
            return "AT_SPI_BUS" in self.run(["xprop", "-root", "AT_SPI_BUS"], check=False)

        wait_until("the accessibility bus", announced)

    def _start_window_manager(self):
        self._spawn("openbox", ["openbox", "--sm-disable"])
        wait_until("openbox to manage the screen",
                   lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False))

    def stop(self):
        for what, process in reversed(self.processes):
            self._stop_process(process)
        self.processes.clear()
        self.log.close()
        shutil.rmtree(self.scratch, ignore_errors=True)

    def _stop_process(self, process):
        if process.poll() is not None:
            return
        # The launcher's bus daemon and whatever the session bus activated
        # are below the process that started them.
        family = [process.pid] + descendants([process.pid])
        for pid in reversed(family):
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        for pid in family[1:]:
            try:
                os.kill(pid, 0)
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    # -- helpers

    def run(self, argv, check=True, input=None):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True, input=input, timeout=30)
        if check and result.returncode != 0:
            raise DesktopError(f"{' '.join(argv)} failed ({result.returncode}): {result.stderr.strip()}")
        return result.stdout

    def xdotool(self, *args):
        return self.run(["xdotool", *map(str, args)])

    def settings_path(self):
        return os.path.join(self.config, "tarvelo-calculator", "settings.reg")

    def write_settings(self, keys):
        os.makedirs(os.path.dirname(self.settings_path()), exist_ok=True)
        with open(self.settings_path(), "w", newline="") as out:
            out.write(settings_text(keys))

    def read_settings(self):
        try:
            with open(self.settings_path(), encoding="utf-8") as settings:
                return parse_settings(settings.read())
        except FileNotFoundError:
            return {}

    def stored_placement(self):
        record = self.read_settings().get(MAIN_KEY, {}).get("Position")
        if record is None:
            raise DesktopError("no stored \"Position\"")
        return decode_placement(record)

    def screenshot(self, label):
        path = os.path.join(self.artifacts, f"{self.name}-{label}.png")
        with open(os.path.join(self.fbdir, "Xvfb_screen0"), "rb") as fb:
            xwd_to_png(fb.read(), path)
        return path

    def clipboard_text(self):
        """The clipboard's text as it is: line ends are not translated, so
        that CR LF reads as CR LF."""
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env, capture_output=True,
                                timeout=30)
        return result.stdout.decode("utf-8", errors="replace")

    def launch(self, program, *args):
        return Program(self, program, args)

    # -- real input

    def click(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", int(x), int(y))
        self.xdotool("click", button)

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)

    def type_text(self, text):
        self.xdotool("type", "--delay", 20, text)

    def drag(self, points, button=1, modifier=None, after_motion=None):
        """Presses at the first point, moves through the others one motion
        each, releases at the last. `after_motion` waits until the program
        has handled a motion (for example a round trip over AT-SPI), so
        that no two motions reach it as one."""
        first, *rest = points
        self.xdotool("mousemove", "--sync", *map(int, first))
        if modifier:
            self.xdotool("keydown", modifier)
        self.xdotool("mousedown", button)
        for x, y in rest:
            self.xdotool("mousemove", "--sync", int(x), int(y))
            if after_motion:
                after_motion()
        self.xdotool("mouseup", button)
        if modifier:
            self.xdotool("keyup", modifier)


class Program:
    """The running calculator: its process, its main window and its
    accessible application."""

    TITLE = "Tarvelo Calculator"

    def __init__(self, desktop, program, args):
        self.desktop = desktop
        self.process = desktop._spawn("tarvelo-calculator", [program, *args])
        self.pid = self.process.pid
        self.window = wait_until("the main window to be managed", self._find_window, timeout=20)
        self._app = None

    def _find_window(self):
        if self.process.poll() is not None:
            raise DesktopError(f"the program exited with {self.process.returncode}")
        for line in self.desktop.run(["wmctrl", "-l", "-p"], check=False).splitlines():
            parts = line.split(None, 4)
            if len(parts) == 5 and int(parts[2]) == self.pid and parts[4] == self.TITLE:
                return parts[0]
        return None

    # -- geometry and state as the window manager has them

    def frame_extents(self, window=None):
        """(left, right, top, bottom) of the frame, or None before it is framed."""
        out = self.desktop.run(["xprop", "-id", window or self.window, "_NET_FRAME_EXTENTS"], check=False)
        match = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", out)
        return tuple(int(v) for v in match.groups()) if match else None

    def client_rect(self, window=None):
        out = self.desktop.run(["xwininfo", "-id", window or self.window])
        values = dict(re.findall(r"^\s*(Absolute upper-left [XY]|Width|Height):\s*(-?\d+)", out, re.M))
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def frame_rect(self, window=None):
        """The outer rectangle (left, top, width, height) of the window with
        its frame, as the window manager placed it."""
        extents = self.frame_extents(window)
        if extents is None:
            raise DesktopError("the window has no frame")
        left, right, top, bottom = extents
        x, y, w, h = self.client_rect(window)
        return x - left, y - top, w + left + right, h + top + bottom

    def states(self):
        out = self.desktop.run(["xprop", "-id", self.window, "_NET_WM_STATE", "WM_STATE"], check=False)
        states = set(re.findall(r"_NET_WM_STATE_(\w+)", out))
        if re.search(r"window state:\s*Iconic", out):
            states.add("ICONIC")
        return states

    def is_minimised(self):
        return "HIDDEN" in self.states() or "ICONIC" in self.states()

    def is_maximised(self):
        return {"MAXIMIZED_VERT", "MAXIMIZED_HORZ"} <= self.states()

    def is_framed(self):
        """Managed, framed and in its state for the user: shown, or minimised."""
        if self.frame_extents() is None:
            return False
        return self.is_minimised() or "IsViewable" in self.desktop.run(["xwininfo", "-id", self.window])

    # -- what a user does

    def activate(self):
        self.desktop.run(["wmctrl", "-i", "-a", self.window])
        wait_until("the window to have the keyboard focus", lambda: self.has_focus())

    def has_focus(self):
        out = self.desktop.run(["xprop", "-root", "_NET_ACTIVE_WINDOW"], check=False)
        match = re.search(r"window id # (0x[0-9a-f]+)", out)
        return bool(match) and int(match.group(1), 16) == int(self.window, 16)

    def key(self, *keys):
        self.activate()
        self.desktop.key(*keys)

    def close_with_ctrl_x(self, timeout=15):
        self.key("ctrl+x")
        self.wait_exit(timeout)

    def close_with_window_manager(self, timeout=15):
        """The close button's way: _NET_CLOSE_WINDOW, whatever the state."""
        self.desktop.run(["wmctrl", "-i", "-c", self.window])
        self.wait_exit(timeout)

    def wait_exit(self, timeout=15):
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise DesktopError(f"the program did not exit within {timeout} s")
        if code != 0:
            raise DesktopError(f"the program exited with {code}")

    def minimise(self):
        self.desktop.xdotool("windowminimize", "--sync", self.window)
        wait_until("the window to be minimised", self.is_minimised)

    def maximise(self):
        self.desktop.run(["wmctrl", "-i", "-r", self.window, "-b", "add,maximized_vert,maximized_horz"])
        wait_until("the window to be maximised", self.is_maximised)

    def restore(self):
        if self.is_maximised():
            self.desktop.run(["wmctrl", "-i", "-r", self.window, "-b", "remove,maximized_vert,maximized_horz"])
        self.desktop.run(["wmctrl", "-i", "-a", self.window])
        wait_until("the window to be restored",
                   lambda: not self.is_minimised() and not self.is_maximised())

    # -- accessibility

    def accessible(self):
        """The program's accessible application (pyatspi)."""
        if self._app is None:
            global _ATSPI_SESSION
            if _ATSPI_SESSION not in (None, self.desktop.env["DBUS_SESSION_BUS_ADDRESS"]):
                raise DesktopError("AT-SPI was used for another session in this process: run one test per process")
            _ATSPI_SESSION = self.desktop.env["DBUS_SESSION_BUS_ADDRESS"]
            import pyatspi  # only now: the session's buses are set

            def find():
                desktop = pyatspi.Registry.getDesktop(0)
                for i in range(desktop.childCount):
                    app = desktop.getChildAtIndex(i)
                    try:
                        if app is not None and app.get_process_id() == self.pid:
                            return app
                    except Exception:
                        continue
                return None

            self._app = wait_until("the program on the accessibility bus", find, timeout=20)
        return self._app

    def main_window_accessible(self):
        import pyatspi

        def frame():
            app = self.accessible()
            for i in range(app.childCount):
                child = app.getChildAtIndex(i)
                if child is not None and child.getRole() == pyatspi.ROLE_FRAME and child.name == self.TITLE:
                    return child
            return None

        return wait_until("the main window over AT-SPI", frame)


# ---------------------------------------------------------------- AT-SPI helpers

def walk(node):
    """Every accessible below `node`, depth first; the contents of tables
    (hundreds of cells) are left out."""
    import pyatspi
    skip = {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE}
    todo = [node]
    while todo:
        current = todo.pop()
        yield current
        try:
            if current.getRole() in skip:
                continue
            count = current.childCount
        except Exception:
            continue
        for i in reversed(range(count)):
            try:
                child = current.getChildAtIndex(i)
            except Exception:
                continue
            if child is not None:
                todo.append(child)


def find_all(root, predicate):
    found = []
    for node in walk(root):
        try:
            if predicate(node):
                found.append(node)
        except Exception:
            continue
    return found


def role_name(node):
    try:
        return node.getRoleName()
    except Exception:
        return "?"


def extents(node):
    """(x, y, width, height) on the screen."""
    import pyatspi
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def centre(node):
    x, y, w, h = extents(node)
    return x + w // 2, y + h // 2


def is_showing(node):
    import pyatspi
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def labelled_by(node):
    """The names of the labels that describe `node`."""
    import pyatspi
    names = []
    try:
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                for i in range(relation.getNTargets()):
                    names.append(relation.getTarget(i).name)
    except Exception:
        pass
    return names


def dump(root, limit=400, showing_only=False):
    """A readable listing of the tree below `root`, for failure messages."""
    lines = []
    for node in walk(root):
        if showing_only and not is_showing(node):
            continue
        try:
            x, y, w, h = extents(node)
            lines.append(f"{role_name(node)} {node.name!r} [{x},{y} {w}x{h}]"
                         + (f" labelled by {labelled_by(node)}" if labelled_by(node) else ""))
        except Exception as error:
            lines.append(f"? ({error})")
        if len(lines) >= limit:
            lines.append("...")
            break
    return "\n".join(lines)


def showing(root, role, name):
    """The showing accessibles of `role` (a role name) called `name`."""
    return find_all(root, lambda n: role_name(n) == role and n.name == name and is_showing(n))


def click_tab(session, window, caption, shows, role="label"):
    """A real click on the page tab `caption`; returns once `shows` (a
    label, or what `role` names) of that page is on the screen."""
    tab = wait_until(f"the {caption!r} tab", lambda: showing(window, "page tab", caption))[0]
    session.click(*centre(tab))
    wait_until(f"the {caption!r} page", lambda: showing(window, role, shows))


def dump_showing(root):
    return dump(root, showing_only=True)


def table_rows(table):
    """The cells of a table, row by row, as its table interface has them
    (a header drawn by the view is not among them)."""
    cells = table.queryTable()
    return [[cells.getAccessibleAt(row, col).name for col in range(cells.nColumns)]
            for row in range(cells.nRows)]


def column_headers(table):
    cells = table.queryTable()
    return [cells.getColumnHeader(col).name for col in range(cells.nColumns)]


def text_of(node):
    """The text an entry field holds."""
    return node.queryText().getText(0, -1)


# ---------------------------------------------------------------- test case

class DesktopTestCase(unittest.TestCase):
    """A test on its own display. A failing test saves a screenshot and the
    logs into the artifacts folder and says where."""

    def setUp(self):
        missing = [tool for tool in TOOLS if not any(os.access(os.path.join(d, tool), os.X_OK)
                                                      for d in os.environ.get("PATH", "").split(":"))]
        if not os.access(A11Y_BUS_LAUNCHER, os.X_OK):
            missing.append(A11Y_BUS_LAUNCHER)
        if importlib.util.find_spec("pyatspi") is None:
            missing.append("pyatspi (python3-pyatspi)")
        if missing:
            if os.environ.get("CI"):
                self.fail("missing: " + ", ".join(missing))
            self.skipTest("missing: " + ", ".join(missing))
        self.program_path = os.environ.get("TARVELO_PROGRAM")
        if not self.program_path or not os.access(self.program_path, os.X_OK):
            self.fail(f"TARVELO_PROGRAM is not the built program: {self.program_path!r}")
        artifacts = os.environ.get("TARVELO_ARTIFACTS") or tempfile.mkdtemp(prefix="tarvelo-artifacts-")
        os.makedirs(artifacts, exist_ok=True)
        name = self.id().rsplit(".", 1)[-1]
        self.desktop = Desktop(artifacts, name)
        self.addCleanup(self.desktop.stop)
        self.desktop.start()
        self.addCleanup(self._screenshot_on_failure)

    def _screenshot_on_failure(self):
        result = getattr(getattr(self, "_outcome", None), "result", None)
        failed = result is not None and any(test is self for test, _ in result.failures + result.errors)
        if failed:
            try:
                path = self.desktop.screenshot("failure")
                print(f"\nscreenshot: {path}\nlog: {self.desktop.log.name}", file=sys.stderr)
            except Exception as error:
                print(f"\nno screenshot: {error}", file=sys.stderr)
            try:
                with open(self.desktop.settings_path()) as settings:
                    print("settings file:\n" + settings.read(), file=sys.stderr)
            except OSError:
                pass

    def launch(self, *args):
        """Starts the program; returns once its window is framed."""
        program = self.desktop.launch(self.program_path, *args)
        wait_until("the window to be framed", program.is_framed)
        return program


def main():
    """Runs the module's tests: the ones named on the command line in this
    process, or else each in a process of its own, since a process reads
    the accessibility bus of one session only."""
    if len(sys.argv) == 1:
        suite = unittest.defaultTestLoader.loadTestsFromModule(sys.modules["__main__"])
        names = [test.id().split(".", 1)[1] for group in suite for test in group]
        failed = [name for name in names if subprocess.call([sys.executable, sys.argv[0], name]) != 0]
        print(f"{len(names) - len(failed)} passed, {len(failed)} failed")
        sys.exit(1 if failed else 0)
    # pyatspi's importer warns on every import; the tests' own output matters.
    import warnings
    warnings.filterwarnings("ignore", category=ImportWarning)
    unittest.main(verbosity=2, warnings=False)
