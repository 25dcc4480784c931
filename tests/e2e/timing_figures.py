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
from files import write_filter
from gestures import open_search
from notepad import Target
from pellix import HISTORY, Pellix, write_list_file
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


@pytest.mark.parametrize("size", [0, 10_000, 100_000, 1_000_000])
def test_capture_to_screen_inside_wine(desktop: Desktop, size: int):
    """A program inside Wine sets the clipboard; the time until the list view has the item."""
    fill_history(desktop, size)
    app = Pellix.start(desktop, timeout=300)
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


def time_start(desktop: Desktop, start, class_name: str) -> tuple[float, float, object]:
    """Milliseconds from the start of a program to its first visible window of that class, and
    to that window's first answer to a message (from then on it takes input)."""
    watcher, _ = desktop.start_actor("wait-visible", "--class", class_name, name="wait-visible")
    started_at = time.time_ns() // 1000
    process = start()
    wait_until(lambda: not watcher.running(), 60, f"a visible {class_name}")
    watcher.reap()
    seen = log_lines(watcher)[-1]
    return ((seen["wall_us"] - started_at) / 1000, (seen["answered_us"] - started_at) / 1000,
            process)


def test_start_up(desktop: Desktop):
    """Start-up of pellix (empty, and 100,000 items in 10 lists) beside a trivial window program
    started the same way. The trivial program and pellix with its lists take turns, so that a
    change in the machine's load meets both alike."""
    rounds = 3 * ROUNDS
    empty = []
    for _ in range(rounds):
        elapsed, _, process = time_start(desktop, desktop.start_pellix, "MainWindow")
        empty.append(elapsed)
        Pellix(desktop, process).close(timeout=60)

    folder = desktop.app_dir
    names = [f"list{k}" for k in range(10)]
    for name in names:
        write_list_file(folder, name, [f"{name} の項目 {i} " + "abcdefghij" * (i % 17)
                                       for i in range(10_000)])
        write_filter(folder, name, type="0")
    settings = ("left=0\r\ntop=0\r\nheight=300\r\nwidth=260\r\n"
                + "".join(f"list{k}=list{k}\r\n" for k in range(10)) + "view=0\r\n")
    (folder / "pellix.ini").write_bytes(settings.encode("cp932"))
    trivial, trivial_answers = [], []
    full, full_answers = [], []
    for _ in range(rounds):
        elapsed, answered, process = time_start(
            desktop, lambda: desktop.start_testwin(items=0), "PxTestWindow")
        trivial.append(elapsed)
        trivial_answers.append(answered)
        process.stop(timeout=10)
        elapsed, answered, process = time_start(desktop, desktop.start_pellix, "MainWindow")
        full.append(elapsed)
        full_answers.append(answered)
        app = Pellix(desktop, process)
        assert app.list_view(count=1)["count"] == 10_000
        app.close(timeout=60)
    report("start-up of a trivial window program", trivial, "ms")
    report("start-up of pellix, empty folder", empty, "ms")
    report("start-up of pellix, 100,000 items in 10 lists", full, "ms")
    report("start-up of pellix with 100,000 items above the trivial program",
           [statistics.median(full) - statistics.median(trivial)], "ms")
    report("the same, each start beside the trivial one just before it",
           [f - t for f, t in zip(full, trivial)], "ms")
    # Visible is not yet usable: the window takes input once its first paint is done.
    report("start-up until the window answers: trivial program", trivial_answers, "ms")
    report("start-up until the window answers: pellix, 100,000 items in 10 lists", full_answers,
           "ms")
    report("start-up until the window answers: pellix with 100,000 items above the trivial one",
           [statistics.median(full_answers) - statistics.median(trivial_answers)], "ms")


def test_burst(desktop: Desktop):
    """500 distinct texts taken by an X client at about 28 a second; how many pellix keeps."""
    app = Pellix.start(desktop)
    texts = [f"連続コピー {i:03d} {time.time_ns()}" for i in range(500)]
    with SelectionOwner(desktop.x.env["DISPLAY"]) as owner:
        next_at = time.monotonic()
        for serial, text in enumerate(texts):
            owner.own(text, serial)
            next_at += 1 / 28
            time.sleep(max(0.0, next_at - time.monotonic()))  # the workload's pace
        last = texts[-1]
        wait_until(lambda: app.items(count=1) == [last], 10, "the last text to be captured")
        requested = set(owner.requested)
    kept = set(app.items(count=600)) & set(texts)
    never_read = [i for i in range(500) if i not in requested]
    read_not_kept = [i for i in range(500) if i in requested and texts[i] not in kept]
    report("burst of 500 distinct texts at 28/s: kept", [len(kept)], "texts")
    report("burst: never read from the X owner before the next copy replaced it",
           [len(never_read)], "texts")
    report("burst: read from the X owner but not kept", [len(read_not_kept)], "texts")
    app.close(timeout=60)


PASTE_ROUNDS = int(os.environ.get("PELLIX_PASTE_ROUNDS", "20"))
PASTED = "日本語と ASCII の貼り付け 12345"


@pytest.mark.parametrize("typed", [False, True], ids=["paste", "typed paste"])
def test_enter_to_text_in_notepad(desktop: Desktop, typed: bool):
    """Enter in pellix's list (Shift+Enter for the typed paste), and the time until notepad, the
    window the user came from, holds the item: what the user waits for after picking it."""
    write_list_file(desktop.app_dir, HISTORY, [PASTED])
    app = Pellix.start(desktop)
    target = Target(desktop, app)
    samples = []
    for _ in range(PASTE_ROUNDS):
        target.clear()
        desktop.focus(app.hwnd)
        desktop.tool("listview-select", app.listbox, 0)
        result = desktop.tool("paste-latency", target.edit, len(PASTED),
                              *(["--shift"] if typed else []), timeout=30)
        assert target.text() == PASTED
        samples.append(result["us"] / 1000)
    report(f"Enter to the text in notepad, {'typed paste' if typed else 'paste'} of "
           f"{len(PASTED)} characters", samples, "ms")
    app.close(timeout=60)


@pytest.mark.parametrize("count", [100_000, 1_000_000])
def test_stall_during_background_save(desktop: Desktop, count: int):
    """100,000 items (about 10 MB) or a million in the list a capture goes into: the longest time
    the window keeps a message waiting while the list is saved in the background."""
    fill_history(desktop, count)
    size = (desktop.app_dir / f"{HISTORY}.dat").stat().st_size
    app = Pellix.start(desktop, timeout=300)
    stalls = []
    for round_ in range(3 * ROUNDS):
        before = (desktop.app_dir / f"{HISTORY}.dat").stat().st_mtime_ns
        desktop.tool("clipboard-set", f"保存の計測 {round_} {time.time_ns()}")
        wait_until(lambda: app.list_view(count=0)["count"] == count + 1 + round_, 10,
                   "the capture")
        # From just after the capture until well after the save it starts.
        result = desktop.tool("message-stall", app.hwnd, "--ms", 3500, timeout=30)
        wait_until(lambda: (desktop.app_dir / f"{HISTORY}.dat").stat().st_mtime_ns != before,
                   30, "the list to be saved")
        stalls.append(result["longest_us"] / 1000)
    report(f"longest stall of the window during a background save of {size} bytes", stalls, "ms")
    app.close(timeout=60)


def test_stall_during_background_save_of_a_huge_unicode_list(desktop: Desktop):
    """A Unicode list of about 100 MB (it keeps copies whole): the longest time the window keeps
    a message waiting while the capture that changed it is saved in the background."""
    item = "ユニコードの長い項目 ü " + "0123456789" * 95
    count = 100 * 1024 * 1024 // (2 * (len(item) + 8))
    path = desktop.app_dir / "unicode.dat"
    with path.open("wb") as out:
        out.write(b"\xff\xfe")
        for i in range(count):
            out.write(f"{i:06d} {item}\r\n".encode("utf-16-le"))
    size = path.stat().st_size
    app = Pellix.start(desktop, timeout=120)
    stalls: list[float] = []
    idle: list[float] = []
    for round_ in range(ROUNDS):
        before = path.stat().st_mtime_ns
        # The shown list gets the same capture as the Unicode list.
        shown = app.list_view(count=0)["count"]
        desktop.tool("clipboard-set", f"大きなリストの保存 {round_} {time.time_ns()}")
        wait_until(lambda: app.list_view(count=0)["count"] == shown + 1, 10, "the capture")
        # From just after the capture until well after the save it starts.
        result = desktop.tool("message-stall", app.hwnd, "--ms", 8000, timeout=60)
        wait_until(lambda: path.stat().st_mtime_ns != before, 60, "the Unicode list to be saved")
        stalls.append(result["longest_us"] / 1000)
        # The same measure with the save done: what the window does anyway.
        result = desktop.tool("message-stall", app.hwnd, "--ms", 3000, timeout=60)
        idle.append(result["longest_us"] / 1000)
    report(f"longest stall of the window during a background save of the Unicode list "
           f"({size} bytes)", stalls, "ms")
    report("longest stall of the same window with no save under way", idle, "ms")
    app.close(timeout=120)


def cpu_seconds(pid: int) -> float:
    """User and system time a process used so far (Linux's /proc)."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def wineserver_pid(desktop: Desktop) -> int:
    """The test prefix's own wineserver: the idle cost of a Windows program is partly its. A
    wineserver works in a folder named after its prefix's device and inode."""
    stat = os.stat(desktop.wine.prefix)
    server_dir = f"server-{stat.st_dev:x}-{stat.st_ino:x}"
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if (entry / "comm").read_text().strip().startswith("wineserver") and \
                    os.readlink(entry / "cwd").endswith(server_dir):
                return int(entry.name)
        except OSError:
            continue
    raise AssertionError(f"no wineserver of {desktop.wine.prefix}")


def test_idle_cpu(desktop: Desktop):
    """One instance with a history of 1,000 items, left alone: the processor time it and its
    wineserver use over a minute (PELLIX_IDLE_SECONDS), the folder watch and its poll included."""
    seconds = float(os.environ.get("PELLIX_IDLE_SECONDS", "60"))
    fill_history(desktop, 1000)
    app = Pellix.start(desktop)
    server = wineserver_pid(desktop)
    samples: list[float] = []
    for _ in range(ROUNDS):
        before = cpu_seconds(app.process.pid) + cpu_seconds(server)
        time.sleep(seconds)  # the measurement itself: nothing happens meanwhile, by design
        used = cpu_seconds(app.process.pid) + cpu_seconds(server) - before
        samples.append(used * 1000 / seconds * 60)
    report("idle processor time, pellix and its wineserver", samples, "ms a minute")
    app.close(timeout=60)


def resident_mb(pid: int) -> float:
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024
    raise AssertionError(f"no VmRSS for {pid}")


def settled_resident_mb(pid: int) -> float:
    """The resident memory once it stops growing (loading and the first paint are over)."""
    seen: list[float] = []

    def steady() -> bool:
        seen.append(resident_mb(pid))
        return len(seen) >= 5 and max(seen[-5:]) - min(seen[-5:]) < 0.5
    wait_until(steady, 120, "the memory to settle", interval=0.5)
    return seen[-1]


@pytest.mark.parametrize("count", [100_000, 1_000_000])
def test_search_keystroke(desktop: Desktop, count: int):
    """Words typed into the search field over `count` items: the longest time the window keeps
    a message waiting after the first keystroke (the list's keys are folded then, each round in
    a new pellix), and the time from a key to its matches shown, for a key that adds to the word
    (only the matches shown are looked at again) and for one that starts a new word (every item
    is)."""
    items = history_items(count)
    fill_history(desktop, count)

    def matching(word: str) -> int:
        return sum(1 for item in items if word in item)

    def key_to_matches(key: str, matches: int) -> float:
        started = time.monotonic()
        desktop.tool("type", key)
        wait_until(lambda: app.list_view(count=0)["count"] == matches, 30, f"the matches of {key}",
                   interval=0.002)
        return (time.monotonic() - started) * 1000

    stalls, adding, starting = [], [], []
    for _ in range(ROUNDS):
        app = Pellix.start(desktop, timeout=300)
        wait_until(lambda: app.list_view(count=0)["count"] == count, 300, "the list shown")
        open_search(desktop, app)
        desktop.tool("type", "7")
        stalls.append(desktop.tool("message-stall", app.hwnd, "--ms", 2000,
                                   timeout=30)["longest_us"] / 1000)
        wait_until(lambda: app.list_view(count=0)["count"] == matching("7"), 30, "the matches")
        adding.append(key_to_matches("3", matching("73")))
        desktop.tool("keys", "backspace", "backspace")
        wait_until(lambda: app.list_view(count=0)["count"] == count, 30, "the whole list again")
        starting.append(key_to_matches("5", matching("5")))
        app.close(timeout=300)
    report(f"longest wait of the window after the first search keystroke, {count} items",
           stalls, "ms")
    report(f"search keystroke to matches, a key added to the word, {count} items", adding, "ms")
    report(f"search keystroke to matches, a new word, {count} items", starting, "ms")


@pytest.mark.parametrize("size", [0, 100_000, 1_000_000])
def test_memory(desktop: Desktop, size: int):
    """Resident memory of pellix idle with `size` items in its shown list, beside the trivial
    window program's, and the list file's size it is held against."""
    if size == 0:
        trivial = desktop.start_testwin(items=0)
        desktop.wait_until(lambda: trivial.windows(visible=True), 30, "the trivial window")
        report("resident memory of the trivial window program", [settled_resident_mb(trivial.pid)],
               "MB")
        trivial.stop(timeout=10)
    else:
        fill_history(desktop, size)
    megabytes = sum(p.stat().st_size for p in desktop.app_dir.glob("*.dat")) / 2**20
    app = Pellix.start(desktop, timeout=300)
    assert app.list_view(count=0)["count"] == size
    report(f"resident memory of pellix, {size} items ({megabytes:.0f} MB of list files)",
           [settled_resident_mb(app.process.pid)], "MB")
    app.close(timeout=300)


@pytest.mark.parametrize("lists", [10, 1])
def test_start_up_at_a_million(desktop: Desktop, lists: int):
    """A million items, in ten lists of 100,000 (the first shown) or in one list: the time to
    a visible window, beside the trivial window program, and until the shown list shows all its
    items (the lists larger than a few megabytes are read while the program already runs)."""
    trivial = []
    for _ in range(ROUNDS):
        elapsed, _, process = time_start(desktop, lambda: desktop.start_testwin(items=0),
                                         "PxTestWindow")
        trivial.append(elapsed)
        process.stop(timeout=10)
    folder = desktop.app_dir
    per_list = 1_000_000 // lists
    for k in range(lists):
        write_list_file(folder, f"list{k}", [f"list{k} の項目 {i} " + "abcdefghij" * (i % 17)
                                             for i in range(per_list)])
        write_filter(folder, f"list{k}", type="0")
    settings = ("left=0\r\ntop=0\r\nheight=300\r\nwidth=260\r\n"
                + "".join(f"list{k}=list{k}\r\n" for k in range(lists)) + "view=0\r\n")
    (folder / "pellix.ini").write_bytes(settings.encode("cp932"))
    window, shown = [], []
    for _ in range(ROUNDS):
        started = time.monotonic()
        elapsed, _, process = time_start(desktop, desktop.start_pellix, "MainWindow")
        window.append(elapsed)
        app = Pellix(desktop, process, timeout=300)
        wait_until(lambda: app.list_view(count=0)["count"] == per_list, 300,
                   "the shown list to show all its items", interval=0.02)
        shown.append((time.monotonic() - started) * 1000)
        app.close(timeout=300)
    label = f"{lists} lists of {per_list}"
    report("start-up of a trivial window program", trivial, "ms")
    report(f"start-up of pellix to a visible window, a million items in {label}", window, "ms")
    report(f"start-up of pellix with a million items ({label}) above the trivial program",
           [statistics.median(window) - statistics.median(trivial)], "ms")
    report(f"start-up of pellix until the shown list shows its {per_list} items", shown, "ms")
