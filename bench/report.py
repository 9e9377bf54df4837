#!/usr/bin/env python3
"""Turns the measurements of bench/run into its table and its scaling plot.

Usage: report.py RESULTS_DIR PLOT_PNG MODE TIMEOUT_S

Reads RESULTS_DIR/rows.tsv (one line per table row) and RESULTS_DIR/runs.tsv
(one line per measured run), prints the table and the lines of
RESULTS_DIR/notes.txt under it, writes both to RESULTS_DIR/table.md and
draws the time of W1 and W2 against their size.
"""
import csv
import statistics
import sys
from pathlib import Path


def read_tsv(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f, delimiter="\t"))


class Measurement:
    """The runs of one key: median wall and CPU time, largest peak memory."""

    def __init__(self, runs):
        self.runs = runs
        self.ok = [r for r in runs if r["status"] == "ok"]
        self.status = "ok" if runs and len(self.ok) == len(runs) else (
            runs[-1]["status"] if runs else "missing")
        self.wall = statistics.median(float(r["wall_s"]) for r in self.ok) if self.ok else None
        self.cpu = statistics.median(
            float(r["user_s"]) + float(r["sys_s"]) for r in self.ok) if self.ok else None
        self.rss_bytes = max(int(r["max_rss_kb"]) * 1024 for r in self.ok) if self.ok else None


def seconds(value):
    if value is None:
        return "-"
    return f"{value:.3f} s" if value < 10 else f"{value:.1f} s"


def size_text(num_bytes):
    if num_bytes is None:
        return "-"
    if num_bytes >= 1e9:
        return f"{num_bytes / 1e9:.2f} GB"
    return f"{num_bytes / 1e6:.0f} MB"


def main():
    results, plot_path, mode, timeout_s = Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3], sys.argv[4]
    rows = read_tsv(results / "rows.tsv")
    runs = read_tsv(results / "runs.tsv")
    by_key = {}
    for run in runs:
        by_key.setdefault(run["key"], []).append(run)

    def measurement(key):
        return Measurement(by_key.get(key, [])) if key else None

    def unfinished(m, key):
        if m.status == "timeout":
            return f"> {timeout_s} s (stopped)"
        if m.status.startswith("exit "):
            # The command's own last words say why it failed.
            log = results / f"{key}.log"
            lines = log.read_text(errors="replace").strip().splitlines() if log.exists() else []
            message = f": {lines[-1]}" if lines else ""
            return f"failed, {m.status.replace('exit', 'exit status')}{message}"
        return m.status

    header = ["workload", "size", "median time", "CPU time", "throughput", "peak memory",
              "baseline", "ratio to baseline", "target"]
    table = []
    plot_points = {}
    for row in rows:
        amount = float(row["amount"])
        unit = row["unit"]
        tool = measurement(row["key"])
        line = [row["workload"], row["size"]]
        if tool is None:
            table.append(line + ["n/a (no window program with a measuring mode yet)"] + ["-"] * 5
                         + [row["target"]])
            continue
        if tool.wall is None:
            table.append(line + [unfinished(tool, row["key"])] + ["-"] * 5 + [row["target"]])
            continue
        wall, cpu = tool.wall, tool.cpu
        note = ""
        if row["subtract_key"]:
            part = measurement(row["subtract_key"])
            if part.wall is None:
                table.append(line + ["- (no dictionary-only run)"] + ["-"] * 5 + [row["target"]])
                continue
            # Each run was measured right after its own loading run, so the
            # median of the differences leaves out the machine's drift.
            if len(part.ok) == len(tool.ok):
                wall = statistics.median(float(a["wall_s"]) - float(b["wall_s"])
                                         for a, b in zip(tool.ok, part.ok))
                cpu = statistics.median(
                    float(a["user_s"]) + float(a["sys_s"]) - float(b["user_s"]) - float(b["sys_s"])
                    for a, b in zip(tool.ok, part.ok))
            else:
                wall, cpu = wall - part.wall, cpu - part.cpu
            note = f" (minus {seconds(part.wall)} loading)"
        if unit == "bytes":
            throughput = f"{amount / 1e6 / wall:.1f} MB/s" if wall > 0 else "-"
        else:
            throughput = f"{amount / 1e6 / wall:.2f} M members/s" if wall > 0 else "-"
        memory = size_text(tool.rss_bytes)
        if unit == "members":
            memory += f" ({tool.rss_bytes / amount:.1f} B/member)"
        baseline_text, ratio_text = "-", "-"
        if row["baseline_key"]:
            base = measurement(row["baseline_key"])
            if base.wall is not None:
                baseline_text = (f"{row['baseline']}: {seconds(base.wall)} "
                                 f"(CPU {seconds(base.cpu)}), {size_text(base.rss_bytes)}")
                ratio_text = f"{wall / base.wall:.2f}x time"
                if base.cpu:
                    ratio_text += f" ({cpu / base.cpu:.2f}x CPU)"
                if base.rss_bytes:
                    ratio_text += f", {tool.rss_bytes / base.rss_bytes:.2f}x memory"
            else:
                baseline_text = f"{row['baseline']}: {unfinished(base, row['baseline_key'])}"
        table.append(line + [seconds(wall) + note, seconds(cpu), throughput, memory, baseline_text,
                             ratio_text, row["target"]])
        series = row["workload"].split()[0]
        if series in ("W1", "W2"):
            base = measurement(row["baseline_key"])
            plot_points.setdefault(series, []).append(
                (amount, wall, base.wall if base else None, cpu, base.cpu if base else None))

    # A bar inside a cell (the pipeline "tr|grep|sort -u") would end it.
    table = [[str(c).replace("|", "\\|") for c in r] for r in table]
    widths = [max(len(str(r[i])) for r in [header] + table) for i in range(len(header))]
    def fmt(r):
        return "| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |"
    lines = [fmt(header), "|" + "|".join("-" * (w + 2) for w in widths) + "|"]
    lines += [fmt(r) for r in table]
    notes_path = results / "notes.txt"
    if notes_path.exists() and notes_path.read_text().strip():
        lines += [""] + notes_path.read_text().strip().splitlines()
    text = "\n".join(lines)
    print(text)
    (results / "table.md").write_text(f"Benchmark suite, {mode} run\n\n{text}\n")
    draw(plot_points, plot_path, mode)
    print(f"\nplot: {plot_path}")


def draw(points, path, mode):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    fig, axes = plt.subplots(2, 2, figsize=(11, 8))
    panels = [
        ("W1", "create-dictionary", "corpus size (MB)", 1e6, "sort -u pipeline", "ns per byte", 1e9),
        ("W2", "translate --deep (dictionary load)", "deep word list members (millions)", 1e6,
         "memory floor", "ns per member", 1e9),
    ]
    for column, (series, title, xlabel, xscale, base_name, unit_name, unit_scale) in enumerate(panels):
        data = sorted(points.get(series, []))
        top, bottom = axes[0][column], axes[1][column]
        if data:
            xs = [d[0] / xscale for d in data]
            top.plot(xs, [d[1] for d in data], "o-", label="quirlex-cli")
            bottom.plot(xs, [d[1] / d[0] * unit_scale for d in data], "o-", label="quirlex-cli (wall)")
            bottom.plot(xs, [d[3] / d[0] * unit_scale for d in data], "o:", label="quirlex-cli (CPU)")
            base = [d for d in data if d[2] is not None]
            if base:
                bx = [d[0] / xscale for d in base]
                top.plot(bx, [d[2] for d in base], "s--", label=base_name)
                bottom.plot(bx, [d[2] / d[0] * unit_scale for d in base], "s--",
                            label=f"{base_name} (wall)")
                bottom.plot(bx, [d[4] / d[0] * unit_scale for d in base], "s:",
                            label=f"{base_name} (CPU)")
        top.set_title(f"{series}: {title}")
        top.set_xlabel(xlabel)
        top.set_ylabel("median wall time (s)")
        top.set_xscale("log")
        top.set_yscale("log")
        bottom.set_title(f"{series}: cost per unit (flat = linear)")
        bottom.set_xlabel(xlabel)
        bottom.set_ylabel(unit_name)
        bottom.set_xscale("log")
        bottom.set_ylim(bottom=0)
        for ax in (top, bottom):
            ax.grid(True, which="both", alpha=0.3)
            if data:
                ax.legend()
    fig.suptitle(f"Quirlex benchmark scaling ({mode} run)")
    fig.tight_layout()
    path.parent.mkdir(parents=True, exist_ok=True)
    fig.savefig(path, dpi=100)


if __name__ == "__main__":
    main()
