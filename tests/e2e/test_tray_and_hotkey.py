"""The tray icon coming back after the task bar, and hotkeys that another program holds."""

from __future__ import annotations

import json

from harness import Desktop, wait_until
from harness.wine import windows_path
from actors import hold_hotkey, start_actor
from boxes import change_hotkey
from files import ini
from ids import MOD_CONTROL, MOD_SHIFT, SC_MINIMIZE, VK_CONTROL, VK_LCONTROL, WM_SYSCOMMAND
from pellix import Pellix


def visible(app: Pellix) -> bool:
    return next(w for w in app.process.windows() if w["hwnd"] == app.hwnd)["visible"]


def test_a_new_hotkey_another_program_holds_keeps_the_old_one(desktop: Desktop):
    holder = hold_hotkey(desktop, MOD_SHIFT, ord("B"))
    app = Pellix.start(desktop)
    assert "新しいホットキーを登録できません" in change_hotkey(desktop, app, 1, "b")  # Shift+
    wait_until(lambda: (desktop.app_dir / "pellix.ini").exists(), 10, "the settings written")
    assert ini(desktop)["fsmods"] == "2" and ini(desktop)["hotkey"] == "A"
    # The old hotkey was registered again and still works.
    desktop.focus(app.hwnd)
    desktop.tool("keys", "ctrl+a")
    wait_until(lambda: not visible(app), 10, "Ctrl+A to hide the window")
    assert holder.stop().how == "exited"
    app.close()


def test_a_hotkey_that_was_never_registered_cannot_be_replaced(desktop: Desktop):
    holder = hold_hotkey(desktop, MOD_CONTROL, ord("A"))
    app = Pellix.start(desktop)  # starts without a hotkey, silently
    assert "古いホットキーを削除できません" in change_hotkey(desktop, app, 1, "c")
    wait_until(lambda: (desktop.app_dir / "pellix.ini").exists(), 10, "the settings written")
    assert ini(desktop)["fsmods"] == "2" and ini(desktop)["hotkey"] == "A"
    assert holder.stop().how == "exited"
    app.close()


def test_the_tray_icon_comes_back_when_the_task_bar_is_recreated(desktop: Desktop):
    app = Pellix.start(desktop)

    def icons() -> int:
        trays = desktop.tool("windows", "--class", "__winex11_standalone_tray")
        return sum(len([c for c in desktop.tool("children", tray["hwnd"])
                        if c["parent"] == tray["hwnd"]]) for tray in trays)

    wait_until(lambda: icons() == 1, 10, "pellix's icon in the notification area")
    desktop.tool("tray-delete", app.hwnd, app.main["owner"])
    wait_until(lambda: icons() == 0, 10, "the icon to be gone with the task bar")
    message = desktop.tool("message-id", "TaskbarCreated")["id"]
    desktop.tool("post", app.hwnd, message, 0, 0)
    wait_until(lambda: icons() == 1, 10, "the icon to come back")
    app.close()
    wait_until(lambda: icons() == 0, 10, "the icon removed at the end")


def test_an_alt_hotkey_is_followed_by_a_control_tap(desktop: Desktop):
    """With Alt alone, the program in front would take the Alt release for its menu bar."""
    app = Pellix.start(desktop)
    assert "ホットキーを変更しました" in change_hotkey(desktop, app, 2, "z")  # Alt+
    desktop.tool("post", app.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0)  # minimise: hidden
    wait_until(lambda: not visible(app), 10, "the window hidden")

    log = desktop.app_dir.parent / "keys.log"
    logger, hello = start_actor(desktop, "key-log", "--log", windows_path(log), "--seconds", "60")
    assert hello["hooked"]
    desktop.tool("keys", "alt+z")
    wait_until(lambda: visible(app), 10, "Alt+Z to show the window")

    def control_events() -> list[bool]:
        if not log.exists():
            return []
        events = [json.loads(line) for line in log.read_text().splitlines() if line]
        return [e["up"] for e in events if e["vk"] in (VK_CONTROL, VK_LCONTROL)]

    wait_until(lambda: control_events() == [False, True], 10, "a Control press and release")
    assert logger.stop().how == "exited"
    app.close()
