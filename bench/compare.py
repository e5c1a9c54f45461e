#!/usr/bin/env python3
"""Runs quenmark-console, `bc -l` and a Python eval loop on the same inputs
in interleaved rounds and prints, per workload, the median lines per second,
the median peak resident memory and the ratios of the console to the others.

Workloads:
  expr100k     the shared expression file
  vars1k       the shared file of 1,000 variables assigned and used
  one          one expression as a whole process: the console as a script
               (quenmark-console -q '2+3*4'), once with saving on and once
               with --no-save, over a settings file holding only MaxHistory;
               saving on must cost no more, as such a run changes nothing
  vars100k     100,000 variables defined, then each used once
  history10k   expr100k through the console with MaxHistory 10,000 and 50

Every console run starts from a fresh copy of the settings file (none, or
one holding only MaxHistory), so the rounds do not feed each other.

Usage: bench/compare.py [--program-dir DIR] [--data-dir DIR] [--rounds N]
                        [--workloads expr100k,vars1k,one,vars100k,history10k]
"""
import argparse
import glob
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from collections import namedtuple

from console_bench import PYTHON_LOOP

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ALL_WORKLOADS = ["expr100k", "vars1k", "one", "vars100k", "history10k"]
ONE_EXPRESSION = b"2+3*4\n"
ONE_SAVING = "quenmark-console -q"
ONE_NO_SAVE = "quenmark-console -q --no-save"
Run = namedtuple("Run", "wall cpu peak status")
ONE_EXPRESSION_RUNS = 20  # per round: a single start-up is too short to time alone


def run_once(command, stdin_path, cwd, env, with_peak=True):
    """Wall seconds, CPU seconds (user and system), peak resident KiB and exit
    status of one run, stdin from a file, stdout discarded. The peak comes
    from GNU time: a child spawned by this script would inherit the script's
    own high-water mark. Without with_peak the command runs alone, for
    start-up times, and the peak is 0."""
    with tempfile.NamedTemporaryFile("r") as report, open(stdin_path, "rb") as source, \
            open(os.devnull, "wb") as sink:
        wrapper = ["/usr/bin/time", "-f", "%M", "-o", report.name] if with_peak else []
        start = time.perf_counter()
        process = subprocess.Popen(wrapper + command, stdin=source, stdout=sink, stderr=subprocess.DEVNULL,
                                   cwd=cwd, env=env)
        _, status, usage = os.wait4(process.pid, 0)
        elapsed = time.perf_counter() - start
        process.returncode = os.waitstatus_to_exitcode(status)
        peak = int(report.read().split()[-1]) if with_peak else 0
    return Run(elapsed, usage.ru_utime + usage.ru_stime, peak, process.returncode)


class Console:
    """A private copy of the program directory whose settings file is reset
    before every run."""

    def __init__(self, program_dir, scratch):
        self.directory = os.path.join(scratch, "quenmark")
        shutil.copytree(program_dir, self.directory, ignore=shutil.ignore_patterns("*.cfg", "*.prepared"))
        self.command = [os.path.join(self.directory, "quenmark-console")]
        self.env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(scratch, "config"))
        self.settings_name = None

    def reset_settings(self, contents):
        for old in glob.glob(os.path.join(self.directory, "*.cfg*")):
            os.remove(old)
        if contents is None:
            return
        if self.settings_name is None:
            self.settings_name = self.find_settings_name()
        with open(os.path.join(self.directory, self.settings_name), "wb") as file:
            file.write(contents)

    def find_settings_name(self):
        """The file name the console saves to, learnt from one run."""
        with tempfile.NamedTemporaryFile() as empty:
            run_once(self.command, empty.name, self.directory, self.env)
        names = glob.glob(os.path.join(self.directory, "*.cfg"))
        if len(names) != 1:
            raise SystemExit("compare: cannot find the console's settings file")
        os.remove(names[0])
        return os.path.basename(names[0])

    def run(self, stdin_path, settings=None, with_peak=True, arguments=()):
        self.reset_settings(settings)
        return run_once(self.command + list(arguments), stdin_path, self.directory, self.env, with_peak)


def line_count(path):
    with open(path, "rb") as file:
        return sum(1 for _ in file)


def write_vars100k(path):
    with open(path, "w") as file:
        for i in range(100000):
            file.write(f"v{i}={i}\n")
        for i in range(100000):
            file.write(f"v{i}*2\n")


def history_settings(limit):
    return (f"[Information]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n"
            f"[Others]\r\nMaxHistory={limit}\r\n").encode()


def contenders(console, scratch):
    others = {"bc -l": ["bc", "-l"], "python3": [sys.executable, "-c", PYTHON_LOOP]}

    def other(command):
        return lambda path, with_peak=True: run_once(command, path, scratch, None, with_peak)

    table = {"quenmark-console": lambda path, with_peak=True: console.run(path, with_peak=with_peak)}
    table.update({name: other(command) for name, command in others.items()})
    return table


def one_expression_runs(table, path):
    """Per contender, medians of ONE_EXPRESSION_RUNS whole-process runs, taken
    in turn with the others' so that a change of the machine's load falls on
    all alike, and the peak of one more run."""
    runs = {name: [] for name in table}
    order = list(table.items())
    for turn in range(ONE_EXPRESSION_RUNS):
        # Each contender takes each place in the turn equally often, so that
        # none always follows the same one.
        shift = turn % len(order)
        for name, run in order[shift:] + order[:shift]:
            runs[name].append(run(path, with_peak=False))
    medians = {}
    for name, run in table.items():
        last = run(path)
        taken = runs[name]
        medians[name] = Run(statistics.median(r.wall for r in taken), statistics.median(r.cpu for r in taken),
                            last.peak, max([last.status] + [r.status for r in taken]))
    return medians


def one_expression_table(table, console):
    """The console as a script with and without saving, then the others."""
    expression = ONE_EXPRESSION.decode().strip()

    def script(*options):
        arguments = list(options) + [expression]
        return lambda path, with_peak=True: console.run(path, history_settings(50), with_peak, arguments)

    one = {ONE_SAVING: script("-q"), ONE_NO_SAVE: script("-q", "--no-save")}
    one.update({name: run for name, run in table.items() if name != "quenmark-console"})
    return one


def measure_round(workload, inputs, table, console):
    """One round of a workload: {contender: (seconds, peak KiB, status)}."""
    if workload == "one":
        return one_expression_runs(one_expression_table(table, console), inputs["one"])
    if workload == "history10k":
        return {f"MaxHistory {limit}": console.run(inputs["expr100k"], history_settings(limit))
                for limit in (10000, 50)}
    return {name: run(inputs[workload]) for name, run in table.items()}


def report_lines(workload, lines, results):
    rounds = len(next(iter(results.values())))
    print(f"{workload}: {lines:,} lines, {rounds} rounds, medians of wall time, CPU time (user+system), peak")
    medians = {}
    for name, runs in results.items():
        wall, cpu, peak = (statistics.median(getattr(r, field) for r in runs) for field in ("wall", "cpu", "peak"))
        failed = sum(1 for r in runs if r.status != 0)
        medians[name] = (wall, cpu, peak)
        note = f"   ({failed} runs failed)" if failed else ""
        if workload == "one":
            print(f"  {name:30} {wall * 1000:9.2f} ms wall {cpu * 1000:9.2f} ms CPU   peak {peak / 1024:7.1f} MiB{note}")
        else:
            print(f"  {name:18} {lines / wall:12,.0f} lines/s wall {lines / max(cpu, 1e-9):12,.0f} lines/s CPU"
                  f"   peak {peak / 1024:7.1f} MiB{note}")
    if workload == "one":
        for index, measure in ((0, "wall"), (1, "CPU")):
            saving, no_save = medians[ONE_SAVING][index], medians[ONE_NO_SAVE][index]
            verdict = "no more" if saving <= no_save else "MORE"
            print(f"  saving on costs {verdict} {measure} time than --no-save: {saving * 1000:.2f} ms against"
                  f" {no_save * 1000:.2f} ms (x{saving / no_save:.3f})")
    first, *others = medians
    for other in others:
        ours, theirs = medians[first], medians[other]
        print(f"  {first} / {other}: speed x{theirs[0] / ours[0]:.2f} wall, x{theirs[1] / max(ours[1], 1e-9):.2f} CPU,"
              f" peak memory x{ours[2] / theirs[2]:.2f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program-dir", default=os.path.join(ROOT, "build", "quenmark"))
    parser.add_argument("--data-dir", default=os.path.join(ROOT, "..", "shared", "bench"))
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--workloads", default=",".join(ALL_WORKLOADS))
    options = parser.parse_args()
    workloads = [w for w in options.workloads.split(",") if w]
    unknown = set(workloads) - set(ALL_WORKLOADS)
    if unknown:
        parser.error(f"unknown workloads: {', '.join(sorted(unknown))}")

    with tempfile.TemporaryDirectory() as scratch:
        inputs = {name: os.path.join(options.data_dir, f"{name}.txt") for name in ("expr100k", "vars1k")}
        inputs["one"] = os.path.join(scratch, "one.txt")
        inputs["vars100k"] = os.path.join(scratch, "vars100k.txt")
        with open(inputs["one"], "wb") as file:
            file.write(ONE_EXPRESSION)
        if "vars100k" in workloads:
            write_vars100k(inputs["vars100k"])
        console = Console(options.program_dir, scratch)
        table = contenders(console, scratch)
        results = {w: {} for w in workloads}
        for _ in range(options.rounds):
            for workload in workloads:
                for name, run in measure_round(workload, inputs, table, console).items():
                    results[workload].setdefault(name, []).append(run)
        for workload in workloads:
            source = inputs["expr100k" if workload == "history10k" else workload]
            report_lines(workload, line_count(source), results[workload])


if __name__ == "__main__":
    main()
