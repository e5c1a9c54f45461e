#!/usr/bin/env python3
"""Feeds the same expression file to quenmark-console, `bc -l` and a Python
eval loop, several rounds in one run, and reports lines per second and peak
memory of each, with the ratios; also the console's start-up time to its
first output line.

Usage: bench/console_bench.py [PROGRAM_DIR] [EXPRESSION_FILE] [ROUNDS]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

PYTHON_LOOP = r'''
import sys
scope = {}
out = sys.stdout.write
for line in sys.stdin:
    line = line.strip()
    if not line:
        continue
    if "=" in line:
        exec(line, scope)
    else:
        out(repr(eval(line, scope)) + "\n")
'''


def run_measured(command, input_path, cwd=None):
    """Seconds of wall time and peak resident kilobytes of one run. GNU time
    reports the peak, so that the forking Python process is not counted."""
    with tempfile.NamedTemporaryFile("r") as report, open(input_path, "rb") as source, \
            open(os.devnull, "wb") as sink:
        start = time.perf_counter()
        status = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", report.name] + command,
                                 stdin=source, stdout=sink, cwd=cwd)
        elapsed = time.perf_counter() - start
        peak = int(report.read().split()[-1])
    if status != 0:
        raise SystemExit(f"{command[0]} failed with status {status}")
    return elapsed, peak


def start_up_seconds(console, cwd):
    """Time from launch to the first output line (the banner)."""
    start = time.perf_counter()
    process = subprocess.Popen([console], stdin=subprocess.PIPE, stdout=subprocess.PIPE, cwd=cwd)
    process.stdout.readline()
    elapsed = time.perf_counter() - start
    process.stdin.close()
    process.wait()
    return elapsed


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "quenmark")
    expressions = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "..", "shared", "bench", "expr100k.txt")
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    with open(expressions, "rb") as file:
        line_count = sum(1 for _ in file)

    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, "quenmark")
        shutil.copytree(program_dir, copy, ignore=shutil.ignore_patterns("*.cfg"))
        console = os.path.join(copy, "quenmark-console")
        contenders = {
            "quenmark-console": [console],
            "bc -l": ["bc", "-l"],
            "python eval": [sys.executable, "-c", PYTHON_LOOP],
        }
        results = {name: [] for name in contenders}
        for _ in range(rounds):
            for name, command in contenders.items():
                results[name].append(run_measured(command, expressions, cwd=copy))
        start_ups = [start_up_seconds(console, copy) for _ in range(rounds)]

    print(f"{line_count} lines, {rounds} rounds, medians:")
    rates = {}
    for name, runs in results.items():
        seconds = statistics.median(run[0] for run in runs)
        peak = max(run[1] for run in runs)
        rates[name] = (line_count / seconds, peak)
        print(f"  {name:18} {line_count / seconds:12,.0f} lines/s   peak {peak / 1024:8.1f} MiB")
    ours, ours_peak = rates["quenmark-console"]
    for name in ("bc -l", "python eval"):
        other, other_peak = rates[name]
        print(f"  quenmark / {name}: speed x{ours / other:.2f}, peak memory x{ours_peak / other_peak:.2f}")
    print(f"  start-up to first line: median {statistics.median(start_ups) * 1000:.1f} ms")


if __name__ == "__main__":
    main()
