#!/usr/bin/env python3
"""Times the desktop program from exec to its main window being mapped, and
reads its private memory once the window has been idle.

An X server of its own (Xvfb on a free display, `-displayfd`) runs openbox;
each round starts the program from a private copy of the program directory
with no settings file and fresh HOME, XDG_CONFIG_HOME, TMPDIR and
XDG_RUNTIME_DIR, so that every round is a first start. The clock starts
just before the process is spawned and stops when this script's own X
connection receives the event that makes the main window viewable (its
MapNotify, or that of the frame the window manager maps around it). The
windows are found through CreateNotify on the root window, so no polling is
involved. Nothing is subtracted.

After the splash window (if any) has gone and the main window has been idle
for --idle seconds, /proc/PID/smaps_rollup gives Rss, Pss and private memory
(Private_Clean + Private_Dirty). The program is then ended with SIGTERM.

Usage: bench/desktop_start.py [--program-dir DIR [--program-dir DIR2]] [--rounds N]
                              [--idle S] [--no-wm] [--screenshot FILE.png]
"""
import argparse
import ctypes
import os
import re
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# --- The few Xlib calls the watcher needs ------------------------------------

CreateNotify, MapNotify, ReparentNotify = 16, 19, 21
StructureNotifyMask = 1 << 17
SubstructureNotifyMask = 1 << 19
IsViewable = 2
Window = ctypes.c_ulong
Atom = ctypes.c_ulong


class XCreateWindowEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("parent", Window), ("window", Window)]


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", Window), ("window", Window)]


class XReparentEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", Window), ("window", Window), ("parent", Window)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("create", XCreateWindowEvent),
                ("map", XMapEvent), ("reparent", XReparentEvent), ("pad", ctypes.c_long * 24)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", Window), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
                ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
                ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
                ("screen", ctypes.c_void_p)]


ErrorHandler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class Xlib:
    def __init__(self):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = Window
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSelectInput.argtypes = [ctypes.c_void_p, Window, ctypes.c_long]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XInternAtom.restype = Atom
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(XWindowAttributes)]
        x.XGetWindowProperty.argtypes = [ctypes.c_void_p, Window, Atom, ctypes.c_long, ctypes.c_long,
                                         ctypes.c_int, Atom, ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int),
                                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                         ctypes.POINTER(ctypes.c_void_p)]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        # Windows may be gone before they are asked about: ignore such errors.
        self.handler = ErrorHandler(lambda display, error: 0)
        x.XSetErrorHandler(self.handler)
        self.x = x


class Watcher:
    """One X connection that sees every top-level window being created,
    mapped, unmapped and destroyed."""

    def __init__(self, xlib, display_name):
        self.xlib = xlib  # keeps the error handler alive
        self.x = xlib.x
        self.display = self.x.XOpenDisplay(display_name.encode())
        if not self.display:
            raise SystemExit(f"desktop_start: cannot open display {display_name}")
        self.root = self.x.XDefaultRootWindow(self.display)
        self.fd = self.x.XConnectionNumber(self.display)
        self.atoms = {}
        self.x.XSelectInput(self.display, self.root, SubstructureNotifyMask)
        self.x.XSync(self.display, 0)

    def atom(self, name):
        if name not in self.atoms:
            self.atoms[name] = self.x.XInternAtom(self.display, name.encode(), 0)
        return self.atoms[name]

    def property(self, window, name):
        """The raw bytes and item format of a window property, or (None, 0)."""
        kind, fmt, count, after, data = Atom(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = self.x.XGetWindowProperty(self.display, window, self.atom(name), 0, 4096, 0, 0, ctypes.byref(kind),
                                           ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after),
                                           ctypes.byref(data))
        if status != 0 or not data.value:
            return None, 0
        size = {8: 1, 16: ctypes.sizeof(ctypes.c_short), 32: ctypes.sizeof(ctypes.c_long)}[fmt.value] * count.value
        raw = ctypes.string_at(data.value, size)
        self.x.XFree(data)
        return raw, fmt.value

    def title(self, window):
        for name in ("_NET_WM_NAME", "WM_NAME"):
            raw, _ = self.property(window, name)
            if raw is not None:
                return raw.decode("utf-8", "replace")
        return None

    def is_splash(self, window):
        raw, fmt = self.property(window, "_NET_WM_WINDOW_TYPE")
        if not raw or fmt != 32:
            return False
        count = len(raw) // ctypes.sizeof(ctypes.c_ulong)
        types = (ctypes.c_ulong * count).from_buffer_copy(raw)
        return self.atom("_NET_WM_WINDOW_TYPE_SPLASH") in list(types)

    def map_state(self, window):
        attributes = XWindowAttributes()
        if not self.x.XGetWindowAttributes(self.display, window, ctypes.byref(attributes)):
            return None
        return attributes.map_state

    def select_structure(self, window):
        self.x.XSelectInput(self.display, window, StructureNotifyMask)
        self.x.XFlush(self.display)

    def events(self, timeout):
        """(receive time, event) pairs until timeout seconds pass without one."""
        event = XEvent()
        while True:
            while self.x.XPending(self.display):
                self.x.XNextEvent(self.display, ctypes.byref(event))
                yield time.perf_counter(), event
            ready, _, _ = select.select([self.fd], [], [], timeout)
            if not ready:
                return

    def wm_running(self):
        raw, fmt = self.property(self.root, "_NET_SUPPORTING_WM_CHECK")
        return raw is not None and fmt == 32

    def close(self):
        self.x.XCloseDisplay(self.display)


# --- The display -------------------------------------------------------------

class Display:
    """Xvfb on a display number it picks itself, and optionally openbox."""

    def __init__(self, scratch, window_manager, env):
        read, write = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0",
                                        "1280x1024x24"], pass_fds=(write,), stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, env=env)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise SystemExit("desktop_start: Xvfb did not start")
            number += chunk
        os.close(read)
        self.name = ":" + number.decode().strip()
        self.manager = None
        if window_manager:
            self.manager = subprocess.Popen(["openbox"], env=dict(env, DISPLAY=self.name),
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=scratch)

    def wait_for_manager(self, watcher):
        deadline = time.monotonic() + 10
        while self.manager and not watcher.wm_running():
            if time.monotonic() > deadline or self.manager.poll() is not None:
                raise SystemExit("desktop_start: openbox did not start")
            time.sleep(0.02)

    def close(self):
        for process in (self.manager, self.server):
            if process and process.poll() is None:
                process.terminate()
                process.wait()


# --- One start ---------------------------------------------------------------

class Round:
    __slots__ = ("first_ms", "main_ms", "cpu_ms", "memory", "sharers", "status")


def fresh_directory(path, mode=0o755):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    os.chmod(path, mode)
    return path


def program_environment(scratch, display_name):
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("QT_", "XDG_", "WAYLAND_", "DBUS_SESSION")) and k not in ("DISPLAY", "XAUTHORITY")}
    env.update(DISPLAY=display_name,
               HOME=fresh_directory(os.path.join(scratch, "home")),
               XDG_CONFIG_HOME=fresh_directory(os.path.join(scratch, "config")),
               TMPDIR=fresh_directory(os.path.join(scratch, "tmp")),
               XDG_RUNTIME_DIR=fresh_directory(os.path.join(scratch, "runtime"), 0o700))
    return env


def clean_settings(program_directory):
    for name in os.listdir(program_directory):
        if ".cfg" in name or name.endswith(".prepared"):
            os.remove(os.path.join(program_directory, name))


def cpu_milliseconds(pid):
    """CPU time of the process's threads so far, from the scheduler's
    nanosecond counts. Threads that have already ended are not counted: the
    kernel keeps their time only in clock ticks, too coarse here."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as file:
                total += int(file.read().split()[0])
        except OSError:
            pass
    return total / 1e6


def smaps_rollup(pid):
    fields = {}
    with open(f"/proc/{pid}/smaps_rollup") as file:
        for line in file:
            match = re.match(r"(\w+):\s+(\d+) kB", line)
            if match:
                fields[match.group(1)] = int(match.group(2))
    return {"Rss": fields["Rss"], "Pss": fields["Pss"],
            "Private": fields["Private_Clean"] + fields["Private_Dirty"],
            "Private_Dirty": fields["Private_Dirty"], "Anonymous": fields["Anonymous"]}


def other_qt_processes(pid):
    """Other processes that map the program's Qt core library. Pages they
    also map count as shared, not private, so the private figure is lower
    while they run."""
    with open(f"/proc/{pid}/maps") as file:
        paths = {line.split()[-1] for line in file if "libQt6Core.so" in line}
    others = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == pid:
            continue
        try:
            with open(f"/proc/{entry}/maps") as file:
                if any(line.split()[-1] in paths for line in file if "libQt6Core.so" in line):
                    others.append(int(entry))
        except OSError:
            pass
    return others


def run_round(watcher, executable, scratch, display_name, title, idle, screenshot):
    """One first start: the times to the first window and to the main window
    becoming viewable, the CPU time used by then and the idle memory. The
    program never outlives its round."""
    env = program_environment(scratch, display_name)
    clean_settings(os.path.dirname(executable))
    for _ in watcher.events(0):  # drop what earlier rounds left
        pass
    result = Round()
    result.first_ms = result.main_ms = None
    start = time.perf_counter()
    process = subprocess.Popen([executable], env=env, cwd=env["HOME"], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        return measure(watcher, process, result, start, display_name, title, idle, screenshot)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def measure(watcher, process, result, start, display_name, title, idle, screenshot):
    """Every window created on the root is a candidate; a window manager
    reparents a client into a frame (ReparentNotify on the root) and maps the
    frame (MapNotify on the root), so no event that decides the time depends
    on a selection made after the window was created. Requests that wait for
    the server are made only after the deciding event has been timed."""
    clients, client_of_frame, seen, splashes = set(), {}, set(), set()
    deadline = time.monotonic() + 30

    def viewable(window):
        return watcher.map_state(window) == IsViewable

    while result.main_ms is None:
        if time.monotonic() > deadline or process.poll() is not None:
            raise SystemExit(f"desktop_start: no main window titled {title!r} appeared")
        for now, event in watcher.events(0.5):
            kind = event.type
            if kind == CreateNotify and event.create.parent == watcher.root:
                clients.add(event.create.window)
                # Its own MapNotify, for a window manager that maps the
                # frame first; sent without waiting for the server.
                watcher.select_structure(event.create.window)
            elif kind == ReparentNotify and event.reparent.window in clients:
                client_of_frame[event.reparent.parent] = event.reparent.window
            elif kind == MapNotify:
                window = event.map.window
                client = client_of_frame.get(window, window if window in clients else None)
                if client is None or client in seen or not viewable(client):
                    continue
                seen.add(client)
                if result.first_ms is None:
                    result.first_ms = (now - start) * 1000
                if watcher.is_splash(client):
                    splashes.add(client)
                elif watcher.title(client) == title:
                    result.main_ms = (now - start) * 1000
                    result.cpu_ms = cpu_milliseconds(process.pid)
                    break

    # Idle: the splash (if any) has closed, then nothing for idle seconds.
    while splashes and time.monotonic() < deadline:
        for _ in watcher.events(0.1):
            pass
        splashes = {w for w in splashes if viewable(w)}
    time.sleep(idle)
    result.memory = smaps_rollup(process.pid)
    result.sharers = other_qt_processes(process.pid)
    if screenshot:
        take_screenshot(display_name, screenshot)
    process.send_signal(signal.SIGTERM)
    result.status = process.wait(timeout=30)
    return result


def take_screenshot(display_name, path):
    for tool in ("xwd", "xwdtopnm", "pnmtopng"):
        if not shutil.which(tool):
            raise SystemExit(f"desktop_start: --screenshot needs {tool}")
    with open(path, "wb") as out:
        xwd = subprocess.Popen(["xwd", "-root", "-silent", "-display", display_name], stdout=subprocess.PIPE)
        topnm = subprocess.Popen(["xwdtopnm"], stdin=xwd.stdout, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        topng = subprocess.Popen(["pnmtopng"], stdin=topnm.stdout, stdout=out, stderr=subprocess.DEVNULL)
        xwd.stdout.close()
        topnm.stdout.close()
        topng.wait()
        topnm.wait()
        xwd.wait()


def main_window_title():
    """The main window's title: the project name and major.minor version."""
    with open(os.path.join(ROOT, "CMakeLists.txt")) as file:
        match = re.search(r"project\((\w+) VERSION (\d+)\.(\d+)", file.read())
    return f"{match.group(1)} {match.group(2)}.{match.group(3)}"


def summary(name, values, unit, digits=1):
    return (f"  {name:28} median {statistics.median(values):8.{digits}f} {unit}   "
            f"min {min(values):8.{digits}f}   max {max(values):8.{digits}f}")


def report(label, rounds, options):
    manager = "no window manager" if options.no_wm else "openbox"
    print(f"{label}: {len(rounds)} rounds on Xvfb with {manager}, first start (no settings file) each")
    print(summary("exec to first window mapped", [r.first_ms for r in rounds], "ms"))
    print(summary("exec to main window mapped", [r.main_ms for r in rounds], "ms"))
    print(summary("CPU by then (live threads)", [r.cpu_ms for r in rounds], "ms"))
    for field in ("Private", "Private_Dirty", "Anonymous", "Pss", "Rss"):
        name = f"idle {field} ({options.idle:g} s)" if field == "Private" else f"idle {field}"
        print(summary(name, [r.memory[field] / 1024 for r in rounds], "MiB", 2))
    shared = sorted({pid for r in rounds for pid in r.sharers})
    if shared:
        print(f"  note: other processes mapped the same Qt libraries ({', '.join(map(str, shared[:8]))}): "
              f"their pages count as shared, so Private is lower than for the program alone")
    # The program ends a run on SIGTERM with status 128 + 15.
    failed = sum(r.status not in (0, 128 + signal.SIGTERM) for r in rounds)
    if failed:
        print(f"  {failed} rounds ended with an unexpected status after SIGTERM: "
              f"{sorted(set(r.status for r in rounds))}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program-dir", action="append",
                        help="program directory; give it more than once to compare builds in interleaved rounds "
                             "(default: build/quenmark)")
    parser.add_argument("--rounds", type=int, default=10)
    parser.add_argument("--idle", type=float, default=2.0, help="seconds idle before memory is read")
    parser.add_argument("--no-wm", action="store_true", help="run without openbox")
    parser.add_argument("--screenshot", help="PNG of the screen after the last round's idle time "
                                             "(of each program directory: -1, -2, ... are added to the name)")
    options = parser.parse_args()
    directories = options.program_dir or [os.path.join(ROOT, "build", "quenmark")]
    for directory in directories:
        if not os.access(os.path.join(directory, "quenmark"), os.X_OK):
            raise SystemExit(f"desktop_start: {directory}/quenmark has not been built")
    needed = ["Xvfb"] + ([] if options.no_wm else ["openbox"])
    for tool in needed:
        if not shutil.which(tool):
            raise SystemExit(f"desktop_start: {tool} is not installed")
    title = main_window_title()

    def screenshot_name(index):
        if not options.screenshot or len(directories) == 1:
            return options.screenshot
        stem, extension = os.path.splitext(options.screenshot)
        return f"{stem}-{index + 1}{extension}"

    with tempfile.TemporaryDirectory(prefix="desktop_start.") as scratch:
        copies = []
        for index, directory in enumerate(directories):
            copies.append(os.path.join(scratch, f"program{index}"))
            shutil.copytree(directory, copies[-1], ignore=shutil.ignore_patterns("*.cfg*", "*.prepared"))
        display = Display(scratch, not options.no_wm, program_environment(scratch, ""))
        watcher = None
        results = [[] for _ in directories]
        try:
            watcher = Watcher(Xlib(), display.name)
            display.wait_for_manager(watcher)
            for round_index in range(options.rounds):
                last = round_index == options.rounds - 1
                for index, copy in enumerate(copies):
                    results[index].append(run_round(watcher, os.path.join(copy, "quenmark"), scratch, display.name,
                                                    title, options.idle, screenshot_name(index) if last else None))
        finally:
            if watcher:
                watcher.close()
            display.close()

    for directory, rounds in zip(directories, results):
        report(f"desktop start of {directory}" if len(directories) > 1 else "desktop start", rounds, options)


if __name__ == "__main__":
    sys.exit(main())
