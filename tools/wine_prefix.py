#!/usr/bin/env python3
"""The settings every Wine prefix of ours gets, whether the tests', the README pictures' or the
one scripts/run.sh runs pellix in, so that what a user sees is what the pictures show:

- Managed=N: there may be no window manager (a bare Xvfb). Wine's managed windows leave their
  title bar to one, so without it they have none, stay on top only until another window is
  activated, and stall ~2 s on every hide or close waiting for it.
- Font replacements: the Japanese Windows UI fonts do not exist under Wine; IPA fonts have the
  glyphs.
- No crash dialog: a crashing program must end (and fail its test), not wait for a click.
- Wine's own fonts (fonts-wine) in the prefix's Fonts folder: Debian's Wine 8 looks for them
  beside its libraries, where the package does not put them, so without a copy in the prefix
  there is no Marlett and every title bar's buttons read "0 1 r".

    wine_prefix.py            applies them to $WINEPREFIX when they are missing (run.sh)
"""

from __future__ import annotations

import os
import shutil
import subprocess
import sys
from pathlib import Path

REGISTRY = r"""Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
"""


WINE_FONTS = Path("/usr/share/wine/fonts")


def recipe() -> str:
    """What a prefix made with these settings holds; a cached prefix made otherwise is stale."""
    fonts = sorted(p.name for p in WINE_FONTS.iterdir()) if WINE_FONTS.is_dir() else []
    return REGISTRY + "\nfonts: " + " ".join(fonts)


def _missing_fonts(prefix: Path) -> list[Path]:
    if not WINE_FONTS.is_dir():
        return []
    folder = prefix / "drive_c" / "windows" / "Fonts"
    present = {p.name.lower() for p in folder.iterdir()} if folder.is_dir() else set()
    return [font for font in sorted(WINE_FONTS.iterdir()) if font.name.lower() not in present]


def wine_loader() -> str:
    for name in ("wine64", "wine"):
        path = shutil.which(name)
        if path:
            return path
    raise RuntimeError("wine is not installed")


def applied(prefix: Path) -> bool:
    """Whether the prefix's registry, as its server last wrote it to disk, holds the settings."""
    try:
        user_reg = (prefix / "user.reg").read_text(encoding="utf-8", errors="replace")
    except OSError:
        return False
    return '"Managed"="N"' in user_reg and "IPAPGothic" in user_reg and not _missing_fonts(prefix)


def apply(prefix: Path, env: dict[str, str], out, timeout: float = 120) -> None:
    """Imports the settings into the prefix through regedit (its server keeps them; it writes
    them to disk when it ends) and copies Wine's fonts that the prefix lacks."""
    folder = prefix / "drive_c" / "windows" / "Fonts"
    folder.mkdir(parents=True, exist_ok=True)
    for font in _missing_fonts(prefix):
        shutil.copy2(font, folder / font.name)
    reg = prefix / "drive_c" / "pellix-settings.reg"
    reg.write_bytes(b"\xff\xfe" + REGISTRY.replace("\n", "\r\n").encode("utf-16-le"))
    try:
        subprocess.run([wine_loader(), "regedit", "/S", "C:\\pellix-settings.reg"],
                       env={**env, "WINEPREFIX": str(prefix)}, stdin=subprocess.DEVNULL,
                       stdout=out, stderr=out, timeout=timeout, check=True)
    finally:
        reg.unlink(missing_ok=True)


def main() -> int:
    prefix = Path(os.environ["WINEPREFIX"])
    if not applied(prefix):
        apply(prefix, dict(os.environ), subprocess.DEVNULL)
    return 0


if __name__ == "__main__":
    sys.exit(main())
