"""Google Benchmark JSON, read into one record per benchmark: its name split into
family, arguments and variant, the median and fastest of its repetitions, and
its counters. Medians and minima are taken here from the repetitions, so every
benchmark gets both whatever statistics it registers."""

import statistics
from dataclasses import dataclass, field

# Keys of a run that are not user counters.
_RUN_KEYS = {
    "name", "family_index", "per_family_instance_index", "run_name", "run_type",
    "repetitions", "repetition_index", "threads", "iterations", "real_time",
    "cpu_time", "time_unit", "aggregate_name", "aggregate_unit", "error_occurred",
    "error_message", "label", "bytes_per_second", "items_per_second",
}
# Name parts Google Benchmark appends for its own options, not the benchmark's arguments.
_OPTION_PARTS = ("real_time", "process_time", "manual_time")
_OPTION_PREFIXES = ("min_time:", "min_warmup_time:", "repeats:", "iterations:")
_TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


@dataclass
class Bench:
    name: str  # the run name, e.g. BM_Threads/width:480/height:480/threads:1/real_time
    family: str  # the first part of the name
    args: dict  # named arguments in name order ("width" -> 480); unnamed ones as "arg0", "arg1"...
    variant: str  # the last part when it is a word, not an argument ("AVX2" in StartupView/AVX2)
    order: tuple  # registration order
    times_ms: list = field(default_factory=list)
    counters: dict = field(default_factory=dict)

    @property
    def median_ms(self):
        return statistics.median(self.times_ms)

    @property
    def fastest_ms(self):
        return min(self.times_ms)


def _number(text):
    try:
        return int(text)
    except ValueError:
        return float(text)


def _value(text):
    """A named argument's value: a number, or text such as a size (1920x1080)."""
    try:
        return _number(text)
    except ValueError:
        return text


def _split_name(run_name):
    parts = run_name.split("/")
    args, variant, unnamed = {}, "", 0
    for part in parts[1:]:
        if part in _OPTION_PARTS or part.startswith(_OPTION_PREFIXES):
            continue
        key, colon, value = part.partition(":")
        if colon:
            args[key] = _value(value)
            continue
        try:
            args[f"arg{unnamed}"] = _number(part)
            unnamed += 1
        except ValueError:
            variant = part
    return parts[0], args, variant


def read_benchmarks(report):
    """Benchmarks of one parsed JSON report in registration order; a benchmark
    that failed raises ValueError, since a table must not show it as a time."""
    by_name = {}
    for run in report.get("benchmarks", []):
        if run.get("error_occurred"):
            raise ValueError(f"{run['name']}: {run.get('error_message', 'failed')}")
        if run.get("run_type", "iteration") != "iteration":
            continue
        name = run.get("run_name", run["name"])
        bench = by_name.get(name)
        if bench is None:
            family, args, variant = _split_name(name)
            order = (run.get("family_index", 0), run.get("per_family_instance_index", 0))
            bench = by_name[name] = Bench(name, family, args, variant, order)
        bench.times_ms.append(run["real_time"] * _TO_MS[run.get("time_unit", "ns")])
        for key, value in run.items():
            if key not in _RUN_KEYS and isinstance(value, (int, float)):
                bench.counters[key] = value
    return sorted(by_name.values(), key=lambda b: b.order)
