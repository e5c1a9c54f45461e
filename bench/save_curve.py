#!/usr/bin/env python3
"""The cost of saving many variables: for each count, the console defines
that many variables (and uses each once) from a fresh settings file, once
with saving on and once with --no-save, in interleaved rounds. Prints the
median CPU and wall time and peak memory of both, the CPU per variable, the
growth of the saving run's time from the previous count, the CPU per
variable of the save alone (the difference of the two runs), and the
saving run's peak memory over the run without it.

Usage: bench/save_curve.py [--program-dir DIR] [--counts 25000,50000,...]
                           [--rounds N]
"""
import argparse
import os
import statistics
import tempfile

from compare import ROOT, Console, run_once

DEFAULT_COUNTS = "25000,50000,100000,200000,400000"


def write_variables(path, count):
    with open(path, "w") as file:
        for i in range(count):
            file.write(f"v{i}={i}\n")
        for i in range(count):
            file.write(f"v{i}*2\n")


def measure(console, path, rounds):
    """{mode: [Run, ...]} for the saving and the not-saving run."""
    saving, plain = [], []
    no_save = console.command + ["--no-save"]
    for _ in range(rounds):
        saving.append(console.run(path, settings=None))
        console.reset_settings(None)
        plain.append(run_once(no_save, path, console.directory, console.env))
    return {"save": saving, "no-save": plain}


def median(runs, field):
    return statistics.median(getattr(r, field) for r in runs)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program-dir", default=os.path.join(ROOT, "build", "quenmark"))
    parser.add_argument("--counts", default=DEFAULT_COUNTS)
    parser.add_argument("--rounds", type=int, default=3)
    options = parser.parse_args()
    counts = [int(c) for c in options.counts.split(",") if c]
    with tempfile.TemporaryDirectory() as scratch:
        console = Console(options.program_dir, scratch)
        previous = None
        print(f"{'variables':>10} {'save CPU s':>11} {'wall s':>8} {'us/var':>7} {'growth':>7}"
              f" {'no-save CPU s':>14} {'save-only us/var':>17} {'save peak MiB':>14} {'no-save peak':>13} {'peak ratio':>11}")
        for count in counts:
            path = os.path.join(scratch, f"vars{count}.txt")
            write_variables(path, count)
            runs = measure(console, path, options.rounds)
            cpu, wall = median(runs["save"], "cpu"), median(runs["save"], "wall")
            peak, plain_peak = median(runs["save"], "peak"), median(runs["no-save"], "peak")
            failed = sum(1 for r in runs["save"] + runs["no-save"] if r.status != 0)
            growth = f"x{cpu / previous:.2f}" if previous else ""
            plain_cpu = median(runs["no-save"], "cpu")
            print(f"{count:>10,} {cpu:>11.3f} {wall:>8.3f} {cpu / count * 1e6:>7.2f} {growth:>7}"
                  f" {plain_cpu:>14.3f} {(cpu - plain_cpu) / count * 1e6:>17.2f} {peak / 1024:>14.1f} {plain_peak / 1024:>13.1f}"
                  f" {peak / plain_peak:>11.2f}" + (f"  ({failed} runs failed)" if failed else ""))
            previous = cpu
            os.remove(path)


if __name__ == "__main__":
    main()
