"""pellix on two PCs of one user: started on both, closed on both, what each shows and what each
folder holds. The setups (one shared folder, two folders kept in step by Syncthing) are the
`two_pcs` fixture's, in harness/two_pcs.py."""

from __future__ import annotations

import time

from harness import Desktop, wait_until
from harness.two_pcs import TwoPCs
from files import list_file
from pellix import HISTORY, Pellix

# How long a change on one PC may take to show on the other. Shared: a save (1.5 s after the
# change) and the other's notice of it. Syncthing adds its watcher's delay (1 s), its scan, the
# transfer and the pull; what it took is printed by the tests that wait for it.
LATENCY = {"shared": 10.0, "syncthing": 30.0}


def latency(pcs: TwoPCs) -> float:
    return LATENCY[pcs.setup]


def first_run(pcs: TwoPCs) -> None:
    """pellix started once on the first PC and closed, so that its files are there, in step on
    both PCs, before both run: as the user who set it up on one PC before the other."""
    app = Pellix.start(pcs.pc1)
    app.close()
    pcs.wait_in_step()


def start_both(pcs: TwoPCs) -> tuple[Pellix, Pellix]:
    first_run(pcs)
    return Pellix.start(pcs.pc1), Pellix.start(pcs.pc2)


def close_both(pcs: TwoPCs, apps: tuple[Pellix, Pellix]) -> None:
    """Closed one after the other, each once the folders are in step and pellix has taken in any
    conflict copy of the sync service: a user who closes pellix on one PC and later on the other,
    not two closes racing each other through the sync service."""
    wait_until(lambda: not pcs.conflict_copies(), latency(pcs),
               "pellix to take in the conflict copies and remove them")
    for app in apps:
        pcs.wait_in_step()
        close(app)
    pcs.wait_in_step()


def close(app: Pellix) -> None:
    """The close box; a pellix that does not end says why, if a message box of its says it."""
    try:
        app.close(timeout=30)
    except AssertionError as error:
        try:
            boxes = [" / ".join(c["text"] for c in app.desktop.tool("children", w["hwnd"])
                                if c["text"])
                     for w in app.process.windows() if w["class"] == "#32770" and w["visible"]]
        except Exception as again:  # noqa: BLE001 - the message is the thing, not the boxes
            boxes = [f"(not read: {again!r})"]
        raise AssertionError(f"{error}; its message boxes: {boxes}") from None


def items(app: Pellix) -> list[str]:
    return app.items(count=500)


def wait_shown(app: Pellix, text: str, timeout: float, what: str,
               since: float | None = None) -> float:
    """Until the list shows the text; returns how long that took (since `since`, a
    time.monotonic(), when given)."""
    started = time.monotonic() if since is None else since
    seen: list[list[str]] = []

    def shown() -> bool:
        seen[:] = [items(app)]
        return text in seen[0]
    try:
        wait_until(shown, timeout, what, interval=0.1)
    except AssertionError as error:
        raise AssertionError(f"{error}; the list held {seen[0] if seen else None!r}") from None
    return time.monotonic() - started


def wait_list(app: Pellix, expected: list[str], timeout: float, what: str,
              since: float | None = None) -> float:
    """Until the list shows exactly these items, in this order; returns how long that took
    (since `since`, a time.monotonic(), when given)."""
    started = time.monotonic() if since is None else since
    seen: list[list[str]] = []

    def matches() -> bool:
        seen[:] = [items(app)]
        return seen[0] == expected
    try:
        wait_until(matches, timeout, what, interval=0.1)
    except AssertionError as error:
        raise AssertionError(f"{error}; the list held {seen[0] if seen else None!r}") from None
    return time.monotonic() - started


def history_files(pcs: TwoPCs) -> list[list[str]]:
    """履歴.dat of every folder (one when shared), read after the closes."""
    return [list_file(pc, HISTORY) for pc in {pc.app_dir: pc for pc in pcs}.values()]


def pc_name(pcs: TwoPCs, pc: Desktop) -> str:
    return f"PC{pcs.pcs.index(pc) + 1}"
