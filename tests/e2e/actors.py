"""pxtool's actors: small Windows programs of our own that play another program's part."""

from __future__ import annotations

from harness import Desktop
from harness.wine import WinProcess


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
