"""The figures users feel, measured under Wine the way a user meets them.

Not part of the test suite (the file name keeps pytest from collecting it by itself): run it with
scripts/timing.sh, which prints every figure as the median of its rounds. Nothing here fails on a
slow figure; a case fails only when the program does something wrong.
"""

from __future__ import annotations

import json
import os
import statistics
import time
from pathlib import Path

import pytest

from harness import Desktop, wait_until
from pellix import HISTORY, RECORDS, Pellix, write_list_file
from harness.xselection import SelectionOwner

ROUNDS = int(os.environ.get("PELLIX_TIMING_ROUNDS", "3"))
FIGURES = Path(os.environ.get("PELLIX_TIMING_OUT", "timing-figures.txt"))


def report(name: str, values: list[float], unit: str) -> None:
    values = sorted(values)
    p95 = values[min(len(values) - 1, int(round(0.95 * (len(values) - 1))))]
    line = (f"{name}: median {statistics.median(values):.1f} {unit}, p95 {p95:.1f}, "
            f"min {values[0]:.1f}, max {values[-1]:.1f} ({len(values)} values)")
    print("\n" + line)
    with FIGURES.open("a", encoding="utf-8") as out:
        out.write(line + "\n")


def history_items(count: int) -> list[str]:
    return [f"履歴の項目 {i} " + "abcdefghij" * (i % 17) for i in range(count)]


def fill_history(desktop: Desktop, count: int) -> None:
    write_list_file(desktop.app_dir, HISTORY, history_items(count))


@pytest.mark.parametrize("size", [0, 10_000, 100_000])
def test_capture_to_screen_inside_wine(desktop: Desktop, size: int):
    """A program inside Wine sets the clipboard; the time until the list view has the item."""
    fill_history(desktop, size)
    app = Pellix.start(desktop)
    samples: list[float] = []
    for _ in range(ROUNDS):
        result = desktop.tool("capture-latency", app.listbox, "--rounds", 20, "--size", 100,
                              "--gap", 60, timeout=60)
        samples += [us / 1000 for us in result["us"]]
    assert app.list_view(count=1)["count"] == size + 20 * ROUNDS
    report(f"capture to screen, in Wine, {size} items", samples, "ms")
    app.close(timeout=60)


def log_lines(process) -> list[dict]:
    text = Path(process.log).read_text(errors="replace") if process.log else ""
    return [json.loads(line) for line in text.splitlines() if line.startswith("{")]


@pytest.mark.parametrize("size", [0, 10_000, 100_000])
def test_capture_to_screen_from_x(desktop: Desktop, size: int):
    """An X client takes the clipboard; the time until the list view has the item."""
    fill_history(desktop, size)
    app = Pellix.start(desktop)
    rounds = 20 * ROUNDS
    samples: list[float] = []
    with SelectionOwner(desktop.x.env["DISPLAY"]) as owner:
        watcher, _ = desktop.start_actor("watch-count", str(app.listbox), "--rounds", str(rounds),
                                         name="watch-count")
        for round_ in range(rounds):
            wait_until(lambda: sum(1 for line in log_lines(watcher)
                                   if line.get("round") == round_ and "count" in line) == 1,
                       10, f"the watcher to wait in round {round_}")
            owned_at = owner.own(f"X からのコピー {round_} {time.time_ns()}")
            seen = wait_until(lambda: next((line for line in log_lines(watcher)
                                            if line.get("round") == round_ and "wall_us" in line),
                                           None), 10, f"the item of round {round_}")
            samples.append((seen["wall_us"] - owned_at) / 1000)
            time.sleep(0.06)  # the workload's pace: copies a user makes, not a burst
        wait_until(lambda: not watcher.running(), 10, "the watcher to end")
        watcher.reap()
    report(f"capture to screen, from X, {size} items", samples, "ms")
    app.close(timeout=60)
