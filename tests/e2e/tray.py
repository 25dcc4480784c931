"""pellix's tray icon as Wine shows it: its balloons, and its tip under the pointer.

With no XEMBED tray on the screen, Wine shows the icons in its own "Wine System Tray" window, and
both a balloon and an icon's tip as tooltip windows of that window's process: WM_GETTEXT gives a
balloon's text (not its title) and the tip's text. A balloon shows a couple of seconds after the
icon asked for it, for ten seconds or so; a tip only while the pointer rests on the icon."""

from __future__ import annotations

from harness import Desktop, wait_until

PLAIN_TIP = "ぺりくす T＆K"


def _trays(desktop: Desktop) -> list[dict]:
    return [w for w in desktop.tool("windows") if w["class"] == "__winex11_standalone_tray"]


def _tooltips(desktop: Desktop) -> list[tuple[int, str]]:
    """The tray's visible tooltips (pellix's own, of its list items, are no balloons)."""
    windows = desktop.tool("windows")
    trays = {w["pid"] for w in windows if w["class"] == "__winex11_standalone_tray"}
    return [(w["hwnd"], desktop.tool("text", w["hwnd"])["text"]) for w in windows
            if w["class"].lower() == "tooltips_class32" and w["visible"] and w["pid"] in trays]


def balloon_texts(desktop: Desktop) -> list[str]:
    """The texts of the balloons shown now (the tip of an icon under the pointer left out)."""
    return [text for _, text in _tooltips(desktop) if not text.startswith(PLAIN_TIP)]


def tray_icons(desktop: Desktop) -> list[dict]:
    return [icon for tray in _trays(desktop) for icon in desktop.tool("children", tray["hwnd"])]


def tray_tip(desktop: Desktop) -> str:
    """The tip of pellix's icon (the only one in the test's prefix), with the pointer resting on
    the icon, then moved away again so that the next look shows the tip anew. The tray window
    is raised first, on the X side: a program's window (notepad's, at the screen's top left) may
    cover it, and a SetWindowPos from another program does not restack it under Wine."""
    trays = wait_until(lambda: _trays(desktop), 10, "the tray window")
    desktop.x.xdotool("windowraise", str(trays[0]["x11"]))
    icons = wait_until(lambda: tray_icons(desktop), 10, "the tray icon")
    assert len(icons) == 1, icons
    rect = icons[0]["rect"]
    x, y = (rect["left"] + rect["right"]) // 2, (rect["top"] + rect["bottom"]) // 2

    def shown() -> str | None:
        found = next((text for _, text in _tooltips(desktop) if text.startswith(PLAIN_TIP)), None)
        if found is None:
            # A tooltip shows for a pointer that moved onto its tool and rests there.
            desktop.x.xdotool("mousemove", str(x - 1), str(y), "mousemove", str(x), str(y))
        return found
    try:
        return wait_until(shown, 10, "the tray icon's tip under the pointer", interval=0.7)
    finally:
        desktop.x.xdotool("mousemove", str(rect["right"] + 300), str(rect["bottom"] + 300))
