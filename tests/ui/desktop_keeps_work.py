#!/usr/bin/env python3
"""The desktop program keeps the user's work when its run ends badly.

Each case starts a copy of the program directory (with the misbehaving test
module beside the shipped ones) on an X server of its own with a window
manager, types lines into the window as a user would, ends the run in one
of the ways a desktop run can end badly, and reads the settings file back
with the terminal front end.

    desktop_keeps_work.py --program-dir DIR --module MISBEHAVING.vmx --init-crash CRASH_IN_INIT.vmx
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

OPTIONS = None
KEPT_LINE = "kept = 42"


class Desktop:
    """Xvfb on a display it picks, openbox, and the program on it."""

    def __init__(self, root):
        self.root = root
        self.program_dir = os.path.join(root, "program")
        shutil.copytree(OPTIONS.program_dir, self.program_dir)
        for name in os.listdir(self.program_dir):
            if name.endswith(".cfg"):
                os.remove(os.path.join(self.program_dir, name))
        shutil.copy(OPTIONS.module, os.path.join(self.program_dir, "misbehaving.vmx"))
        self.env = dict(os.environ)
        for name in ("TMPDIR", "XDG_RUNTIME_DIR", "XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"):
            path = os.path.join(root, name.lower())
            os.makedirs(path, mode=0o700)
            self.env[name] = path
        self.env.update(LANG="C", LC_ALL="C", QT_QPA_PLATFORM="xcb")
        self.server = None
        self.manager = None
        self.program = None

    def start(self, wait_for_window=True):
        read, write = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0",
                                        "1024x768x24"], pass_fds=[write], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            number = display.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        self.manager = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.launch(wait_for_window)

    def launch(self, wait_for_window=True):
        self.program = subprocess.Popen([os.path.join(self.program_dir, "quenmark")], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if not wait_for_window:
            return
        # The main window by its title; the splash window is called "Quenmark" alone.
        window = self.xdotool("search", "--sync", "--onlyvisible", "--name", "^Quenmark [0-9]")
        self.window = window.split()[0]

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool", *arguments], env=self.env, check=True, capture_output=True,
                              text=True, timeout=30).stdout

    def enter(self, line):
        self.xdotool("windowactivate", "--sync", self.window)
        self.xdotool("type", "--delay", "10", line)
        self.xdotool("key", "Return")

    def settings_file(self):
        names = [name for name in os.listdir(self.program_dir) if name.endswith(".cfg")]
        return os.path.join(self.program_dir, names[0]) if names else None

    def wait_for_saved(self, variable, limit=5.0):
        deadline = time.monotonic() + limit
        while time.monotonic() < deadline:
            if self.saved_value(variable) is not None:
                return True
            time.sleep(0.05)
        return False

    def saved_value(self, variable, path=None):
        """The variable's value as the terminal front end reads it from the file."""
        path = path or self.settings_file()
        if not path or not os.path.isfile(path):
            return None
        result = subprocess.run([os.path.join(self.program_dir, "quenmark-console"), "--no-save", "-s", path,
                                 "-q", variable], env=self.env, capture_output=True, text=True, timeout=30)
        return result.stdout.strip() if result.returncode == 0 else None

    def wait(self, limit):
        """The program's exit status and how long it took to end, or None."""
        start = time.monotonic()
        try:
            status = self.program.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            return None, limit
        return status, time.monotonic() - start

    def errors(self):
        return self.program.stderr.read().decode(errors="replace")

    def stop(self):
        for process in (self.program, self.manager, self.server):
            if process and process.poll() is None:
                process.kill()
                process.wait()
        if self.program:
            self.program.stderr.close()


class DesktopCase(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="quenmark-desktop-")
        self.desktop = Desktop(self.root)
        self.addCleanup(shutil.rmtree, self.root, True)
        self.addCleanup(self.desktop.stop)
        self.desktop.start()

    def keep_a_line(self):
        self.desktop.enter(KEPT_LINE)
        self.assertTrue(self.desktop.wait_for_saved("kept"), "the line's variable was not written while running")


class SavesAsItGoes(DesktopCase):
    def test_a_line_is_on_disk_while_the_window_runs(self):
        self.keep_a_line()
        self.assertEqual(self.desktop.saved_value("kept"), "42")
        self.assertIsNone(self.desktop.program.poll())

    def test_a_lost_display_loses_no_line(self):
        self.keep_a_line()
        # The second line is still within the second a write may wait.
        self.desktop.enter("later = 7")
        time.sleep(0.2)
        self.desktop.server.kill()
        status, _ = self.desktop.wait(10)
        self.assertIsNotNone(status)
        self.assertEqual(self.desktop.saved_value("kept"), "42")
        self.assertEqual(self.desktop.saved_value("later"), "7")


class EndingSignals(DesktopCase):
    def end_while_hanging(self, signal_number):
        self.keep_a_line()
        self.desktop.enter("lost = HangForever()")
        time.sleep(0.5)
        self.desktop.program.send_signal(signal_number)
        status, took = self.desktop.wait(10)
        self.assertEqual(status, 128 + signal_number)
        self.assertLess(took, 3.0)
        self.assertEqual(self.desktop.saved_value("kept"), "42")
        self.assertIsNone(self.desktop.saved_value("lost"))

    def test_sigterm_while_a_module_hangs(self):
        self.end_while_hanging(signal.SIGTERM)

    def test_sighup_while_a_module_hangs(self):
        self.end_while_hanging(signal.SIGHUP)

    def test_sigint_while_a_module_hangs(self):
        self.end_while_hanging(signal.SIGINT)

    def test_a_file_that_cannot_be_written_is_rescued(self):
        self.keep_a_line()
        settings = self.desktop.settings_file()
        os.remove(settings)
        os.mkdir(settings)  # no file can replace a directory
        self.desktop.enter("rescued = 5")
        time.sleep(0.3)
        self.desktop.program.send_signal(signal.SIGTERM)
        status, _ = self.desktop.wait(10)
        self.assertEqual(status, 128 + signal.SIGTERM)
        rescue_dir = os.path.join(self.desktop.env["XDG_STATE_HOME"], "quenmark")
        rescued = [os.path.join(rescue_dir, name) for name in os.listdir(rescue_dir)]
        self.assertEqual(len(rescued), 1)
        self.assertIn(rescued[0], self.desktop.errors())
        self.assertEqual(os.stat(rescued[0]).st_mode & 0o777, 0o600)
        self.assertEqual(self.desktop.saved_value("rescued", rescued[0]), "5")
        self.assertEqual(self.desktop.saved_value("kept", rescued[0]), "42")


class ModuleCrashes(DesktopCase):
    def crash(self, function, signal_number):
        self.keep_a_line()
        self.desktop.enter(f"{function}()")
        status, _ = self.desktop.wait(20)
        self.assertEqual(status, 128 + signal_number)
        errors = self.desktop.errors()
        self.assertIn("misbehaving.vmx", errors)
        self.assertIn(function, errors)
        report = os.path.join(self.desktop.program_dir, "quenmark-crash.txt")
        with open(report, encoding="utf-8", errors="replace") as text:
            reported = text.read()
        self.assertIn("misbehaving.vmx", reported)
        self.assertIn(function, reported)
        self.assertEqual(self.desktop.saved_value("kept"), "42")

    def test_a_null_write(self):
        self.crash("CrashNow", signal.SIGSEGV)

    def test_an_abort(self):
        self.crash("AbortNow", signal.SIGABRT)

    def test_a_stack_overflow(self):
        self.crash("OverflowStack", signal.SIGSEGV)


class CrashAtLoad(unittest.TestCase):
    """A module that crashes while it loads ends the first start, naming
    itself, and is skipped by the next start, which comes up."""

    def test_the_second_start_comes_up_without_the_module(self):
        root = tempfile.mkdtemp(prefix="quenmark-desktop-")
        self.addCleanup(shutil.rmtree, root, True)
        desktop = Desktop(root)
        self.addCleanup(desktop.stop)
        shutil.copy(OPTIONS.init_crash, os.path.join(desktop.program_dir, "crash_in_init.vmx"))
        desktop.start(wait_for_window=False)
        status, _ = desktop.wait(20)
        self.assertEqual(status, 128 + signal.SIGSEGV)
        self.assertIn("crash_in_init.vmx", desktop.errors())
        desktop.program.stderr.close()
        desktop.launch()
        desktop.enter(KEPT_LINE)
        self.assertTrue(desktop.wait_for_saved("kept"))
        desktop.program.terminate()
        desktop.wait(10)
        self.assertIn("crash_in_init.vmx", desktop.errors())


def main():
    global OPTIONS
    parser = argparse.ArgumentParser()
    parser.add_argument("--program-dir", required=True)
    parser.add_argument("--module", required=True)
    parser.add_argument("--init-crash", required=True)
    OPTIONS, rest = parser.parse_known_args()
    for tool in ("Xvfb", "openbox", "xdotool"):
        if not shutil.which(tool):
            print(f"desktop_keeps_work: {tool} is missing (scripts/bootstrap installs it)", file=sys.stderr)
            return 1
    result = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
