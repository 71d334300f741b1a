"""Markdown tables of benchmarks set side by side: one row per configuration,
one column per value of the argument compared, ratios between columns of the
same run, and time per counted item (fragments, triangles...)."""


def figure(value):
    """Three significant figures: 0.482, 4.68, 26.9, 109."""
    if value >= 100:
        return f"{value:.0f}"
    if value >= 10:
        return f"{value:.1f}"
    if value >= 1:
        return f"{value:.2f}"
    return f"{value:.3f}"


def count(value):
    """Whole counts grouped in threes with a space: 230 400."""
    return f"{round(value):,}".replace(",", " ")


def markdown(headers, rows, left=1):
    """A table whose first `left` columns are text and the rest numbers."""
    align = ["---"] * left + ["---:"] * (len(headers) - left)
    lines = [headers, align] + rows
    return "\n".join("| " + " | ".join(str(cell) for cell in line) + " |" for line in lines)


def _singular(name):
    return name[:-1] if name.endswith("s") else name


def counted_items(bench):
    """Counters that count things in one frame; rates ("shaded/s") are left out."""
    return [key for key in bench.counters if "/" not in key]


def compare_table(benches, column, row_title, row_label, column_label, *, cells="median (fastest)",
                  ratios="each", per_item_at=None, fastest=False):
    """Benchmarks that differ in `column(bench)` set side by side, one row per
    value of everything else. Columns go by position in registration order, so
    rows whose values differ (bands of 60 rows at 480 pixels, 64 at 1080) share
    a column headed by both. ratios: "each" divides every column by the first,
    "last" only the last by the first. per_item_at: the column position whose
    time is divided by each counted item. fastest: a column naming the value
    of the fastest median."""
    rows = {}
    for bench in benches:
        rows.setdefault(row_label(bench), []).append(bench)
    width = max(len(r) for r in rows.values())
    headings = [[] for _ in range(width)]
    for row in rows.values():
        for position, bench in enumerate(row):
            label = column_label(column(bench))
            if label not in headings[position]:
                headings[position].append(label)
    heads = [" or ".join(h) for h in headings]
    items = list(dict.fromkeys(item for bench in benches for item in counted_items(bench)))
    ratio_positions = range(1, width) if ratios == "each" else [width - 1] if ratios == "last" else []

    headers = [row_title] + [_title(item) for item in items] + heads
    headers += [f"{heads[p]} / {heads[0]}" for p in ratio_positions]
    if per_item_at is not None:
        headers += [f"ns per {_singular(item)}, {heads[per_item_at]}" for item in items]
    if fastest:
        headers.append("fastest")

    lines = []
    for label, row in rows.items():
        line = [label] + [count(row[0].counters[item]) if item in row[0].counters else "" for item in items]
        line += [_cell(bench, cells) for bench in row] + [""] * (width - len(row))
        for p in ratio_positions:
            line.append(_ratio(row[p], row[0], cells) if p < len(row) else "")
        if per_item_at is not None:
            bench = row[per_item_at]
            line += [figure(bench.median_ms * 1e6 / bench.counters[item]) if bench.counters.get(item) else ""
                     for item in items]
        if fastest:
            line.append(column_label(column(min(row, key=lambda b: b.median_ms))))
        lines.append(line)
    return markdown(headers, lines, left=1)


def _title(item):
    return item[:1].upper() + item[1:]


def _cell(bench, cells):
    if cells == "median":
        return figure(bench.median_ms)
    return f"{figure(bench.median_ms)} ({figure(bench.fastest_ms)})"


def _ratio(bench, base, cells):
    median = f"{bench.median_ms / base.median_ms:.2f}"
    if cells == "median":
        return median
    return f"{median} ({bench.fastest_ms / base.fastest_ms:.2f})"
