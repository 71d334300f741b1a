#!/usr/bin/env python3
"""Measures the software frame and rewrites every table of figures in README.md.

    scripts/make-numbers.py [--quick] [BUILD_DIR]      (default: build)

Each table lives between `<!-- numbers:NAME -->` and `<!-- /numbers -->`; this
script replaces what is between them and nothing else. Above each table it
writes the commands that measured it and the machine they ran on, and every
ratio in a table comes from the one run of that table: on a shared machine
separate runs drift apart. Benchmarks are chosen by name patterns, so new ones
in raster_bench only add rows; a grid benchmark (a name with "Grid") gets a
table of its own. Without a display it runs itself again on its own Xvfb,
whose screen holds a 1920 x 1080 window. --quick takes few repetitions: for
trying the script, not for the README.
"""

import argparse
import datetime
import json
import os
import re
import shlex
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "numbers"))
from bench_runs import read_benchmarks  # noqa: E402
from readme_blocks import splice  # noqa: E402
from tables import compare_table, count, figure, markdown  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
XVFB = ["xvfb-run", "-a", "-s", "-screen 0 1920x1200x24"]

# raster_bench's band-height views, in the order of its `views` array.
BAND_VIEWS = {0: "filling", 1: "start-up", 2: "grazing"}
# raster_bench's single-thread shots; a shot not named here is shown by its own name.
SHOTS = {
    "StartupView": "start-up view, 480 x 480",
    "FullWindow": "covering 480 x 480 (--tilt -30 --zoom 9.5)",
    "FillWidth1920x1080": "filling the width, 1920 x 1080 (--spin 0 --tilt 0 --zoom 8)",
}
# rastershot rows: label, size, view flags.
FRAME_ROWS = [
    ("start-up view", "480x480", []),
    ("filling the window", "480x480", ["--spin", "0", "--tilt", "0", "--zoom", "8"]),
    ("filling the width", "1920x1080", ["--spin", "0", "--tilt", "0", "--zoom", "8"]),
]


class Settings:
    def __init__(self, build, quick):
        self.shot = os.path.join(build, "rastershot")
        self.bench = os.path.join(build, "bench", "raster_bench")
        self.quick = quick
        self.frames = 5 if quick else 50
        self.repetitions = 3 if quick else None  # None: each table's own
        self.profile_seconds = 0.5 if quick else 5


def run(command, **kwargs):
    print("$ " + shlex.join(command), file=sys.stderr, flush=True)
    result = subprocess.run(command, cwd=ROOT, stdout=subprocess.PIPE, text=True, **kwargs)
    if result.returncode != 0:
        sys.exit(f"make-numbers: '{shlex.join(command)}' failed with status {result.returncode}")
    return result.stdout


def load_average():
    with open("/proc/loadavg") as f:
        return float(f.read().split()[0])


def cpu_model():
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    return "an unknown processor"


def commit():
    head = subprocess.run(["git", "rev-parse", "--short", "HEAD"], cwd=ROOT, stdout=subprocess.PIPE,
                          text=True).stdout.strip() or "unknown"
    # The figures describe the code; what this script writes does not count as a change.
    changed = subprocess.run(["git", "diff", "--quiet", "HEAD", "--", ".", ":!README.md", ":!docs"],
                             cwd=ROOT).returncode != 0
    return head + (" with uncommitted changes" if changed else "")


class Machine:
    """Facts printed above every table: what a reader needs to weigh the figures."""

    def __init__(self):
        self.cpu = cpu_model()
        self.cores = os.cpu_count()
        self.commit = commit()
        self.date = datetime.date.today().isoformat()
        self.vector = "unknown"

    def facts(self, load, extra=""):
        return (f"Machine: {self.cpu}, {self.cores} cores, vector shading {self.vector}{extra}; "
                f"load average {load:.1f} when the run began. Code of commit {self.commit}, {self.date}.")


def block(commands, facts, caption, table):
    code = "\n".join("    " + shlex.join(c) for c in commands)
    return f"{code}\n\n{facts}\n\n{caption}\n\n{table}"


def bench_json(settings, pattern, repetitions):
    command = [settings.bench, f"--benchmark_filter={pattern}",
               f"--benchmark_repetitions={settings.repetitions or repetitions}",
               "--benchmark_enable_random_interleaving=true", "--benchmark_format=json"]
    if settings.quick:
        command.append("--benchmark_min_time=0.05")
    load = load_average()
    try:
        return command, load, read_benchmarks(json.loads(run(command)))
    except ValueError as error:
        sys.exit(f"make-numbers: {error}")


def listed(settings, pattern):
    out = subprocess.run([settings.bench, f"--benchmark_filter={pattern}", "--benchmark_list_tests"],
                         cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
    return [line for line in out.splitlines() if line.strip()]


def size_label(args):
    return f"{args['width']} x {args['height']}"


def median_caption(benches, how="", fastest=True):
    n = len(benches[0].times_ms)
    return f"Milliseconds per frame{how}, median of {n} repetitions" + (" (fastest in brackets):" if fastest else ":")


def vector_table(settings, machine):
    # Shots named Word/variant: the scalar code and each instruction set.
    command, load, benches = bench_json(settings, "^[A-Za-z0-9]+/[A-Za-z0-9_]+$", 10)
    if not benches:
        sys.exit("make-numbers: raster_bench has no single-thread shots (NAME/scalar, NAME/AVX2...)")
    # Registered from the scalar code to the best instruction set, which is what the programs use.
    machine.vector = benches[-1].variant
    table = compare_table(benches, lambda b: b.variant, "Frame", lambda b: SHOTS.get(b.family, b.family),
                          str, ratios="last", per_item_at=-1)
    return block([command], machine.facts(load), median_caption(benches, " on one thread"), table)


def plural(noun):
    return lambda n: f"{n} {noun}" + ("s" if n != 1 else "")


def threads_table(settings, machine):
    command, load, benches = bench_json(settings, "^BM_Threads/", 20)
    table = compare_table(benches, lambda b: b.args["threads"], "Frame", lambda b: size_label(b.args),
                          plural("thread"), per_item_at=0)
    return block([command], machine.facts(load), median_caption(benches), table)


def band_table(settings, machine):
    command, load, benches = bench_json(settings, "^BM_BandHeight/", 10)

    def label(bench):
        return f"{size_label(bench.args)}, {BAND_VIEWS.get(bench.args['view'], bench.args['view'])}"

    table = compare_table(benches, lambda b: b.args["rows"], "Frame, view", label, plural("row"), cells="median",
                          ratios=None, fastest=True)
    caption = median_caption(benches, " on two threads by rows per band", fastest=False)
    return block([command], machine.facts(load), caption, table)


def grid_table(settings, machine):
    if not listed(settings, "Grid"):
        return ""
    command, load, benches = bench_json(settings, "Grid", 10)
    # One column per thread count; the arguments' names are whatever the benchmark gives them.
    args = list(benches[0].args)
    column = "threads" if "threads" in args else args[-1]

    def label(bench):
        others = [size_label(bench.args) if key == "width" else f"{key} {value}"
                  for key, value in bench.args.items() if key not in (column, "height")]
        return f"{bench.family}: {', '.join(others)}"

    heads = plural("thread") if column == "threads" else lambda value: f"{column} {value}"
    table = compare_table(benches, lambda b: b.args[column], "Scene, frame", label, heads, per_item_at=0)
    heading = ("### Many triangles\n\nThe unit square cut into a grid of N x N quads, each split into two "
               "triangles, drawn in bands as the viewer draws.")
    return heading + "\n\n" + block([command], machine.facts(load), median_caption(benches), table)


def frame_table(settings, machine, on_xvfb):
    out = os.path.join("out", "numbers", "frame")
    commands, lines, threads = [], [], None
    load = load_average()
    for label, size, flags in FRAME_ROWS:
        common = ["--size", size, "--frames", str(settings.frames), "--stats", "--out", out, *flags]
        one_command = [settings.shot, "--renderer", "software", *common, "--threads", "1"]
        all_command = [settings.shot, "--renderer", "both", *common]
        commands += [one_command, all_command]
        one = json.loads(run(one_command))
        output = run(all_command, stderr=subprocess.DEVNULL)
        reports = {r["renderer"]: r for r in map(json.loads, output.splitlines())}
        software, opengl, difference = reports["software"], reports["opengl"], reports["difference"]
        if software["glImageMedianMs"] is None:
            sys.exit("make-numbers: rastershot gave no time in the window: is the display usable?")
        threads = software["threads"]
        title = f"{label} ({' '.join(flags)})" if flags else label
        times = [one["medianMs"], software["medianMs"], one["glPointsMedianMs"], software["glPointsMedianMs"],
                 software["glImageMedianMs"], opengl["medianMs"], difference["medianMs"]]
        # Both presentations from the one run: which is faster, and by how much.
        points_per_image = software["glPointsMedianMs"] / software["glImageMedianMs"]
        lines.append([title, size.replace("x", " x "), count(one["fragmentsShaded"])] + [figure(t) for t in times]
                     + [figure(points_per_image)])
    headers = ["View", "Size", "Fragments shaded", "In memory, 1 thread", "In memory, all",
               "GL points, 1 thread", "GL points, all", "One image, all", "OpenGL path", "Difference view, all",
               "GL points / one image, all"]
    table = markdown(headers, lines, left=2)
    if on_xvfb:
        commands = [XVFB + c for c in commands]
    extra = ", OpenGL in Xvfb" if on_xvfb else ""
    caption = f"Milliseconds per frame, median of {settings.frames} frames; \"all\" is {threads} threads:"
    return block(commands, machine.facts(load, extra), caption, table)


def profile_table(settings, machine):
    data = os.path.join("out", "numbers", "perf.data")
    record = ["perf", "record", "-q", "-F", "999", "-o", data, "--", settings.bench,
              "--benchmark_filter=^BM_Threads/width:1920/height:1080/threads:2/",
              f"--benchmark_min_time={settings.profile_seconds}"]
    report = ["perf", "report", "-i", data, "--stdio", "--no-children", "--sort", "symbol", "-q"]
    load = load_average()
    run(record, stderr=subprocess.DEVNULL)
    shares = []
    for line in run(report, stderr=subprocess.DEVNULL).splitlines():
        match = re.match(r"\s*([\d.]+)%\s+\[(.)\]\s+(\S.*?)(\s+-)*\s*$", line)
        if match:
            name = match[3] if match[2] == "." else f"kernel: {match[3]}"
            shares.append((float(match[1]), name))
    shares.sort(reverse=True)
    shown = [(share, name) for share, name in shares if share >= 1.0]
    rest = 100.0 - sum(share for share, _ in shown)
    rows = [[f"`{name}`", f"{share:.1f} %"] for share, name in shown]
    rows.append(["everything else, under 1 % each", f"{rest:.1f} %"])
    table = markdown(["Function", "Share of samples"], rows)
    caption = "Shares of the profile's samples, both threads together, at 1920 x 1080, filling:"
    return block([record, report], machine.facts(load), caption, table)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--quick", action="store_true", help="few repetitions, to try the script")
    parser.add_argument("build", nargs="?", default="build", help="build directory (default: build)")
    options = parser.parse_args()
    settings = Settings(options.build, options.quick)
    for program in (settings.shot, settings.bench):
        if not os.access(os.path.join(ROOT, program), os.X_OK):
            sys.exit(f"make-numbers: {program} is missing: build first ('make build' does).")
    if not shutil.which("perf"):
        sys.exit("make-numbers: perf is missing: install Debian's linux-perf.")
    if not os.environ.get("DISPLAY"):
        os.environ["RV_NUMBERS_ON_XVFB"] = "1"
        os.execvp(XVFB[0], XVFB + [sys.executable, os.path.abspath(__file__)] + sys.argv[1:])
    os.makedirs(os.path.join(ROOT, "out", "numbers"), exist_ok=True)

    machine = Machine()
    blocks = {"vector": vector_table(settings, machine)}
    blocks["threads"] = threads_table(settings, machine)
    blocks["band-height"] = band_table(settings, machine)
    blocks["grid"] = grid_table(settings, machine)
    blocks["profile"] = profile_table(settings, machine)
    blocks["frame"] = frame_table(settings, machine, os.environ.get("RV_NUMBERS_ON_XVFB") == "1")

    readme = os.path.join(ROOT, "README.md")
    with open(readme) as f:
        text = f.read()
    try:
        text, replaced = splice(text, blocks)
    except ValueError as error:
        sys.exit(f"make-numbers: README.md, {error}")
    with open(readme, "w") as f:
        f.write(text)
    for name, content in blocks.items():
        if content:
            print(f"<!-- numbers:{name} -->\n\n{content}\n")
        if name not in replaced and content:
            print(f"\nREADME.md has no block '{name}'; add <!-- numbers:{name} --> <!-- /numbers --> "
                  f"to show it:\n\n{content}\n", file=sys.stderr)
    print(f"README.md: blocks {', '.join(replaced)} rewritten", file=sys.stderr)


if __name__ == "__main__":
    main()
