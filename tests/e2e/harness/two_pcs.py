"""Two PCs of one user, each a Desktop of its own, running pellix from one folder.

Each PC has its own Wine prefix and wineserver (so pellix's one-instance-only mutex sees only its
own PC), its own pxtool server, its own X display (so a copy on one PC is on that PC's clipboard
only) and its own xdotool/xclip. The folder they share is one of two setups:

- "shared": one app folder, as on a network share both PCs reach; both start the same pellix.exe.
- "syncthing": an app folder each, with its own pellix.exe, kept in step by two Syncthing
  instances (see syncthing.py), as a folder kept in step by a sync service.
"""

from __future__ import annotations

from pathlib import Path

from .desktop import Desktop
from .syncthing import SyncthingPair, conflict_copies

SETUPS = ("shared", "syncthing")


class TwoPCs:
    def __init__(self, setup: str, pcs: tuple[Desktop, Desktop], sync: SyncthingPair | None):
        self.setup = setup
        self.pcs = pcs
        self.sync = sync

    @property
    def pc1(self) -> Desktop:
        return self.pcs[0]

    @property
    def pc2(self) -> Desktop:
        return self.pcs[1]

    def __iter__(self):
        return iter(self.pcs)

    @property
    def folders(self) -> list[Path]:
        """Every app folder, each once: one when shared, two under Syncthing."""
        return list(dict.fromkeys(pc.app_dir for pc in self.pcs))

    def wait_in_step(self, timeout: float = 60.0) -> None:
        """Until what one PC wrote is what the other reads; one shared folder always is."""
        if self.sync is not None:
            self.sync.wait_in_step(timeout)

    def conflict_copies(self) -> list[str]:
        """The sync service's conflict copies in any of the folders, by folder/name."""
        return [f"{folder.parent.name}/{name}" for folder in self.folders
                for name in conflict_copies(folder)]
