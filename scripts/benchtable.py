#!/usr/bin/env python3
"""Prints the results of scripts/bench as one table, each figure beside its target."""

import json
import pathlib
import re
import sys

# (benchmark name pattern, what is compared, limit, unit of the limit)
TARGETS = [
    (r"BM_Import(Plain|Rich)Text/256$", "time", 2.0, "ms"),
    (r"BM_Import(Plain|Rich)Text/10000$", "time", 80.0, "ms"),
    (r"BM_ImportWordProcessorTable/350$", "time", 3.0, "ms"),
    (r"BM_ImportX32Scene/2100$", "time", 3.0, "ms"),
    (r"BM_ImportWingSnapshot/350$", "time", 3.0, "ms"),
    (r"BM_InspectBesideHelp", "inspect/help", 1.5, "x"),
    (r"BM_SaveProject/1000$", "time", 20.0, "ms"),
    (r"BM_OpenProject/1000$", "time", 20.0, "ms"),
    (r"BM_EditWithUndoSnapshot/1000$", "time", 10.0, "us"),
    (r"BM_RepaintWindowOverMatrix", "time", 8.0, "ms"),
    (r"BM_StartToFirstPaint/", "time", 400.0, "ms"),
    (r"BM_IdleResidentMemory/256", "RSS MiB", 80.0, "MiB"),
]

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def target_of(name):
    for pattern, measure, limit, unit in TARGETS:
        if re.search(pattern, name):
            return measure, limit, unit
    return None


def main():
    rows = []
    for path in sorted(pathlib.Path(sys.argv[1]).glob("*.json")):
        data = json.loads(path.read_text())
        for bench in data.get("benchmarks", []):
            if bench.get("run_type") == "aggregate" and bench.get("aggregate_name") != "mean":
                continue
            name = bench["name"]
            if bench.get("error_occurred"):
                rows.append((path.stem, name, "error: " + bench.get("error_message", ""), "", ""))
                continue
            if name.endswith(("_BigO", "_RMS")):
                continue
            unit = bench.get("time_unit", "ns")
            real_ms = bench["real_time"] * TO_MS[unit]
            counters = ", ".join(
                f"{key} {bench[key]:.4g}" for key in bench
                if key in ("peak RSS KiB", "peak RSS growth KiB", "RSS MiB", "file KiB",
                           "report MiB", "extra peak MiB", "rows/s", "help ms",
                           "inspect/help"))
            figure = f"{real_ms:.3f} ms"
            target, verdict = "", ""
            if found := target_of(name):
                measure, limit, limit_unit = found
                if measure == "time":
                    value = real_ms / TO_MS[limit_unit]
                    target = f"< {limit:g} {limit_unit}"
                    figure = f"{value:.3f} {limit_unit}"
                else:
                    value = bench[measure]
                    target = f"< {limit:g} {limit_unit}"
                verdict = "met" if value < limit else "MISSED"
            rows.append((path.stem, name, figure, counters, target + (" " + verdict if verdict else "")))

    if not any(row[0] == "routingmatrix_bench" for row in rows):
        rows.append(("(matrix)", "routing-matrix repaint 256 x 128", "not built in this tree", "",
                     "< 8 ms"))

    headers = ("program", "benchmark", "time", "counters", "target")
    widths = [max(len(str(row[i])) for row in rows + [headers]) for i in range(len(headers))]
    line = lambda cells: "| " + " | ".join(str(c).ljust(w) for c, w in zip(cells, widths)) + " |"
    print(line(headers))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in rows:
        print(line(row))
    return 1 if any("MISSED" in row[4] or row[2].startswith("error") for row in rows) else 0


if __name__ == "__main__":
    sys.exit(main())
