"""pxtool's actors: small Windows programs of our own that play another program's part."""

from __future__ import annotations

import json
from typing import Callable

from harness import Desktop
from harness.wine import WinProcess, windows_path


def start_actor(desktop: Desktop, name: str, *args: str) -> tuple[WinProcess, dict]:
    """A pxtool actor and what it announced on starting. It is stopped as a program is, by
    WM_CLOSE to its window, which it announces since the window is hidden."""
    actor, hello = desktop.start_actor(name, *args, name=name)
    assert actor.wpid  # looked up while it runs: stopping it asks for it
    actor.before_close = lambda: desktop.tool("post", hello["hwnd"], "WM_CLOSE", 0, 0)
    return actor, hello


def hold_hotkey(desktop: Desktop, mods: int, vk: int) -> WinProcess:
    """Another program takes the key combination first."""
    holder, hello = start_actor(desktop, "hold-hotkey", "--mods", str(mods), "--vk", str(vk),
                                "--seconds", "120")
    assert hello["registered"], "the other program holds the hotkey"
    return holder


def watch_keys(desktop: Desktop) -> tuple[WinProcess, Callable[[], list[dict]]]:
    """Every key event from now on, as the system's input saw it: a low-level keyboard hook that
    logs {vk, up, injected} (injected: sent by a program, not typed on the keyboard). Returns the
    actor and a reader of the events logged so far."""
    log = desktop.app_dir.parent / "keys.log"
    logger, hello = start_actor(desktop, "key-log", "--log", windows_path(log), "--seconds", "120")
    assert hello["hooked"]

    def events() -> list[dict]:
        text = log.read_text() if log.exists() else ""
        return [json.loads(line) for line in text.splitlines() if line.endswith("}")]
    return logger, events
