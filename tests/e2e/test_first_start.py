"""What a newcomer meets: on the first start (no pellix.ini yet) the tray icon says in a balloon
which hotkey calls the list up and where it is changed; later starts say nothing."""

from __future__ import annotations

import time

from harness import Desktop, wait_until
from actors import hold_hotkey
from ids import MOD_CONTROL
from pellix import Pellix
from tray import balloon_texts, tray_icons

# Wine asks for a balloon to be made 2 s after the icon's request; this leaves room for a slow
# machine without letting a late balloon pass unseen.
QUIET_SECONDS = 8


def test_the_first_start_names_the_hotkey_in_a_balloon_and_later_starts_do_not(desktop: Desktop):
    assert not (desktop.app_dir / "pellix.ini").exists()
    app = Pellix.start(desktop)
    texts = wait_until(lambda: balloon_texts(desktop), 15, "the first start's balloon")
    assert texts == ["Ctrl+A で一覧を表示し、もう一度押すと隠します。"
                     "ホットキーはトレイメニューの「ホットキーの変更」で変えられます。"]
    app.close()
    wait_until(lambda: not balloon_texts(desktop) and not tray_icons(desktop), 40,
               "the balloon and the icon to go with pellix")

    assert (desktop.app_dir / "pellix.ini").exists()
    app = Pellix.start(desktop)
    wait_until(lambda: tray_icons(desktop), 15, "the icon of the second start")
    deadline = time.monotonic() + QUIET_SECONDS
    while time.monotonic() < deadline:
        assert not balloon_texts(desktop), "a later start showed a balloon"
        time.sleep(0.2)
    app.close()


def test_a_first_start_without_its_hotkey_does_not_promise_one(desktop: Desktop):
    """Another program holds Ctrl+A: the balloon says so, and where to pick another key."""
    holder = hold_hotkey(desktop, MOD_CONTROL, ord("A"))
    app = Pellix.start(desktop)
    texts = wait_until(lambda: balloon_texts(desktop), 15, "the first start's balloon")
    assert texts == ["ホットキーを登録できませんでした（ほかのプログラムが使っています）。"
                     "トレイメニューの「ホットキーの変更」で別のキーを選んでください。"]
    app.close()
    holder.stop()
