"""Times whole jobs on a large pad, each run its own process, beside a reference measured in the
same run, and prints one table of the figures against their targets.
Usage: jobs.py BUILD_DIR [--runs N]   (tools/bench-jobs builds first and calls this)"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

from jobs_inputs import make_inputs

QUERY = "phone"
MB = 1e6


@dataclass
class Run:
    seconds: float
    peak: int  # bytes of resident memory at most


def run_process(command: list) -> Run:
    # GNU time starts the command from its own small process: a child of this one would count this
    # process's memory in its peak, as the kernel records the peak of the memory it leaves at exec.
    with tempfile.NamedTemporaryFile("r") as peak_file:
        timed = ["/usr/bin/time", "-f", "%M", "-o", peak_file.name, *map(str, command)]
        start = time.perf_counter()
        # grep and others stop at the first match when they write to /dev/null: a pipe, drained here.
        process = subprocess.Popen(timed, stdout=subprocess.PIPE, env=dict(os.environ, LC_ALL="C"))
        while os.read(process.stdout.fileno(), 1 << 20):
            pass
        process.wait()
        seconds = time.perf_counter() - start
        process.stdout.close()
        if process.returncode != 0:
            sys.exit(f"failed with {process.returncode}: {' '.join(map(str, command))}")
        return Run(seconds, int(peak_file.read().split()[-1]) * 1024)


def measure(commands: list, runs: int, before_each=lambda: None) -> list:
    """The runs of each command, taken in turn round after round so that all see the same machine."""
    results = [[] for _ in commands]
    for _ in range(runs):
        for command, result in zip(commands, results):
            before_each()
            result.append(run_process(command))
    return results


def google_benchmark(program: Path, names: list, runs: int) -> list:
    """Wall seconds of each repetition of each named benchmark, in the order of `names`."""
    done = subprocess.run([program, f"--benchmark_filter=^({'|'.join(names)})$", f"--benchmark_repetitions={runs}",
                           "--benchmark_enable_random_interleaving=true", "--benchmark_format=json"],
                          capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"{program.name} failed:\n{done.stderr}")
    unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    seconds = {name: [] for name in names}
    for result in json.loads(done.stdout)["benchmarks"]:
        if result.get("run_type") == "iteration":
            seconds[result["run_name"]].append(result["real_time"] * unit[result["time_unit"]])
    return [seconds[name] for name in names]


def ms(seconds: float) -> str:
    value = seconds * 1000
    return f"{value:.0f}" if value >= 100 else f"{value:.1f}" if value >= 10 else f"{value:.2f}"


def spread(seconds: list) -> str:
    return f"{ms(statistics.median(seconds))} ms ({ms(min(seconds))}..{ms(max(seconds))})"


def times(runs: list) -> list:
    return [run.seconds for run in runs]


def peak(runs: list) -> float:
    return max(run.peak for run in runs)


@dataclass
class Row:
    job: str
    figure: str
    peak: str
    reference: str
    ratio: str
    target: str
    met: bool


def relative_row(job: str, runs: list, reference_name: str, reference: list, limit: float, peak_text="") -> Row:
    ratio = statistics.median(runs) / statistics.median(reference)
    return Row(job, spread(runs), peak_text, f"{reference_name}: {ms(statistics.median(reference))} ms",
               f"{ratio:.2f}", f"≤ {limit:g} ×", ratio <= limit)


def time_row(job: str, runs: list, limit: float, peak_text="") -> Row:
    return Row(job, spread(runs), peak_text, "", "", f"≤ {limit * 1000:g} ms", statistics.median(runs) <= limit)


def memory_row(job: str, runs: list, files_name: str, size: int, limit: float) -> Row:
    ratio = peak(runs) / size
    return Row(job, "", f"{peak(runs) / MB:.0f}", f"{files_name}: {size / MB:.1f} MB", f"{ratio:.2f}",
               f"≤ {limit:g} × size", ratio <= limit)


def print_table(rows: list) -> None:
    cells = [["job", "median (min..max)", "peak MB", "reference", "ratio", "target", ""]]
    cells += [[r.job, r.figure, r.peak, r.reference, r.ratio, r.target, "met" if r.met else "missed"] for r in rows]
    widths = [max(len(row[i]) for row in cells) for i in range(len(cells[0]))]
    for n, row in enumerate(cells):
        print("| " + " | ".join(cell.ljust(width) for cell, width in zip(row, widths)) + " |")
        if n == 0:
            print("|" + "|".join("-" * (width + 2) for width in widths) + "|")


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", type=Path, help="the bench preset's build folder")
    parser.add_argument("--runs", type=int, default=5, help="runs of each job (default 5)")
    arguments = parser.parse_args()
    build, runs = arguments.build, arguments.runs
    nibtool, open_pad = build / "src/tools/nibtool", build / "bench/open_pad"
    folder = build / "jobs"

    inputs = make_inputs(folder, nibtool)
    pad_size = inputs.pad.stat().st_size
    both_sizes = pad_size + inputs.other_pad.stat().st_size
    opened = subprocess.run([open_pad, inputs.pad, QUERY], check=True, capture_output=True, text=True).stdout.strip()
    print(f"Large pad: {pad_size / MB:.1f} MB, {opened} by \"{QUERY}\"; {runs} runs of each job\n")

    rows = []
    find, grep = measure([[nibtool, "find", inputs.pad, QUERY], ["grep", "-Fic", QUERY, inputs.text]], runs)
    rows.append(relative_row(f"nibtool find PAD {QUERY}", times(find), f"grep -Fic {QUERY}", times(grep), 2,
                             f"{peak(find) / MB:.0f}"))
    listed, cat = measure([[nibtool, "list", inputs.pad], ["cat", inputs.pad]], runs)
    rows.append(relative_row("nibtool list PAD", times(listed), "cat PAD", times(cat), 5, f"{peak(listed) / MB:.0f}"))

    (opening,) = measure([[open_pad, inputs.pad, QUERY]], runs)
    rows.append(time_row("open: load and first find", times(opening), 0.25))
    rows.append(memory_row("open: peak memory", opening, "PAD", pad_size, 2))

    a, b = folder / "sync-a.nib", folder / "sync-b.nib"

    def copy_pads():
        shutil.copyfile(inputs.pad, a)
        shutil.copyfile(inputs.other_pad, b)

    (syncing,) = measure([[nibtool, "sync", a, b]], runs, copy_pads)
    rows.append(time_row("nibtool sync A B, one nib apart", times(syncing), 0.5))
    rows.append(memory_row("sync: peak memory", syncing, "A + B", both_sizes, 2.5))

    imported, baseline = google_benchmark(build / "bench/bench_padfile", ["BM_ImportText", "BM_ImportBaseline"], runs)
    rows.append(relative_row("import of a 24 MB text (BM_ImportText)", imported, "read and copy once", baseline, 1.5))
    (typing,) = google_benchmark(build / "bench/bench_pad", ["BM_FindTyping"], runs)
    rows.append(time_row("find per keystroke (BM_FindTyping)", typing, 0.01))
    (recovery,) = google_benchmark(build / "bench/bench_pad", ["BM_WriteRecovery"], runs)
    rows.append(time_row("recovery of 100 changed nibs (BM_WriteRecovery)", recovery, 0.005))

    print_table(rows)


if __name__ == "__main__":
    main()
