"""The README's tables from benchmark reports: names read apart, medians and
minima from repetitions, columns of one run side by side, blocks spliced."""

import os
import sys
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench_runs import read_benchmarks  # noqa: E402
from readme_blocks import splice  # noqa: E402
from tables import compare_table, figure  # noqa: E402


def run(name, time, family, instance, unit="ms", **counters):
    return {"name": name, "run_name": name, "run_type": "iteration", "family_index": family,
            "per_family_instance_index": instance, "real_time": time, "cpu_time": time, "time_unit": unit,
            "iterations": 3, **counters}


def band(width, rows, instance, times):
    name = f"BM_Band/width:{width}/view:0/rows:{rows}/real_time"
    return [run(name, t, 0, instance, fragments=1000.0, **{"shaded/s": 5e6}) for t in times]


class ReadBenchmarks(unittest.TestCase):
    def test_names_times_and_counters(self):
        report = {"benchmarks": [
            *band(480, 60, 0, [4.0, 2.0, 3.0]),
            # Another unit, and an aggregate that must not count as a repetition.
            run("Shot/AVX2", 5000.0, 1, 0, unit="us"),
            run("Shot/AVX2", 7000.0, 1, 0, unit="us"),
            {**run("Shot/AVX2", 99.0, 1, 0), "run_type": "aggregate", "aggregate_name": "median"},
            run("BM_Plain/16/2", 1.0, 2, 0),
        ]}
        bands, shot, plain = read_benchmarks(report)
        self.assertEqual((bands.family, bands.args, bands.variant), ("BM_Band", {"width": 480, "view": 0, "rows": 60}, ""))
        self.assertEqual((bands.median_ms, bands.fastest_ms), (3.0, 2.0))
        self.assertEqual(bands.counters, {"fragments": 1000.0, "shaded/s": 5e6})
        self.assertEqual((shot.family, shot.variant, shot.median_ms), ("Shot", "AVX2", 6.0))
        self.assertEqual(plain.args, {"arg0": 16, "arg1": 2})

    def test_a_failed_benchmark_is_an_error_not_a_time(self):
        failed = {**run("Shot/scalar", 0.0, 0, 0), "error_occurred": True, "error_message": "pixels uncovered"}
        with self.assertRaisesRegex(ValueError, "Shot/scalar: pixels uncovered"):
            read_benchmarks({"benchmarks": [failed]})


class CompareTable(unittest.TestCase):
    def test_columns_by_position_ratios_and_time_per_item(self):
        # Two frames whose tallest bands differ (60 and 64 rows) share a column.
        benches = read_benchmarks({"benchmarks": [
            *band(480, 8, 0, [2.0]), *band(480, 60, 1, [1.0]),
            *band(1920, 8, 2, [4.0]), *band(1920, 64, 3, [8.0]),
        ]})
        table = compare_table(benches, lambda b: b.args["rows"], "Frame", lambda b: str(b.args["width"]),
                              lambda r: f"{r} rows", per_item_at=0, fastest=True).splitlines()
        self.assertEqual(table[0], "| Frame | Fragments | 8 rows | 60 rows or 64 rows | 60 rows or 64 rows / 8 rows "
                                   "| ns per fragment, 8 rows | fastest |")
        self.assertEqual(table[1], "| --- | ---: | ---: | ---: | ---: | ---: | ---: |")
        self.assertEqual(table[2], "| 480 | 1 000 | 2.00 (2.00) | 1.00 (1.00) | 0.50 (0.50) | 2000 | 60 rows |")
        self.assertEqual(table[3], "| 1920 | 1 000 | 4.00 (4.00) | 8.00 (8.00) | 2.00 (2.00) | 4000 | 8 rows |")

    def test_three_significant_figures(self):
        cases = [(0.48249, "0.482"), (4.684, "4.68"), (26.94, "26.9"), (109.4, "109"), (1458.0, "1458")]
        for value, text in cases:
            self.assertEqual(figure(value), text, value)


class Splice(unittest.TestCase):
    PAGE = "# Title\n\n<!-- numbers:a -->\nold table\n<!-- /numbers -->\nprose stays\n"

    def test_replaces_only_between_markers(self):
        text, replaced = splice(self.PAGE, {"a": "new\n", "unused": "x"})
        self.assertEqual(text, "# Title\n\n<!-- numbers:a -->\n\nnew\n\n<!-- /numbers -->\nprose stays\n")
        self.assertEqual(replaced, ["a"])
        # Run again, nothing moves; an empty block leaves only its markers.
        self.assertEqual(splice(text, {"a": "new"})[0], text)
        self.assertEqual(splice(self.PAGE, {"a": ""})[0], "# Title\n\n<!-- numbers:a -->\n<!-- /numbers -->\nprose stays\n")

    def test_disagreements_between_page_and_script_are_errors(self):
        cases = [
            ("<!-- numbers:b -->\n<!-- /numbers -->\n", "no script makes the block 'b'"),
            ("<!-- numbers:a -->\nprose that would be eaten\n", "never closed"),
            ("<!-- numbers:a -->\n<!-- numbers:a -->\n<!-- /numbers -->\n", "opens inside"),
            ("text\n<!-- /numbers -->\n", "closes no block"),
        ]
        for page, message in cases:
            with self.assertRaisesRegex(ValueError, message, msg=page):
                splice(page, {"a": "table"})


if __name__ == "__main__":
    unittest.main()
