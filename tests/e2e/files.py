"""The files in pellix's folder, written before a start and read after a close, byte for byte as
pellix itself writes and reads them."""

from __future__ import annotations

from pathlib import Path

from harness import Desktop
from pellix import HISTORY, RECORDS

DAT_MARKER = "][)"


def write_filter(folder, name: str, **fields: str) -> None:
    keys = ["filname", "type", "kaigyo", "acount", "bcount", "astring", "bstring", "cstring",
            "zen", "caps", "small"] + [f"exfrom{k}" for k in range(8)] + [f"exto{k}" for k in range(8)]
    values = {"filname": name, "kaigyo": "0", "acount": "0", "bcount": "0", "zen": "0",
              "caps": "0", "small": "0", **fields}
    text = "".join(f"{key}={values.get(key, '')}\r\n" for key in keys)
    (folder / f"{name}.flt").write_bytes(text.encode("cp932"))


def write_ini(desktop: Desktop, lines: list[str]) -> None:
    (desktop.app_dir / "pellix.ini").write_bytes("".join(f"{line}\r\n" for line in lines)
                                                  .encode("cp932"))


def base_lines(**changes: str) -> list[str]:
    values = {"left": "300", "top": "200", "height": "207", "width": "257", "fontsize": "9",
              "fontcolor": "clWindowText", "sendtab": "0", "lock": "", "memo": "0", "trans": "0",
              "option": "0", "list0": HISTORY, "list1": RECORDS, "list2": "unicode", "view": "0",
              "fsmods": "2", "hotkey": "A", **changes}
    return [f"{key}={value}" for key, value in values.items()]


def write_later_start(desktop: Desktop) -> None:
    """The folder as the first start leaves it: the settings and the three lists' filters (履歴
    takes every copy). A start then shows no first start's balloon."""
    for name, kind in ((HISTORY, "1"), (RECORDS, "0"), ("unicode", "0")):
        write_filter(desktop.app_dir, name, type=kind)
    write_ini(desktop, base_lines())


def ini(desktop: Desktop) -> dict[str, str]:
    text = (desktop.app_dir / "pellix.ini").read_bytes().decode("cp932")
    return dict(line.split("=", 1) for line in text.split("\r\n") if "=" in line)


def list_file(desktop: Desktop, name: str) -> list[str]:
    data = (desktop.app_dir / f"{name}.dat").read_bytes().decode("cp932")
    return [line[len(DAT_MARKER):] for line in data.split("\r\n") if line.startswith(DAT_MARKER)]


def unicode_file(desktop: Desktop) -> list[str]:
    data = (desktop.app_dir / "unicode.dat").read_bytes()
    assert data[:2] == b"\xff\xfe", f"unicode.dat does not start with its BOM: {data[:8]!r}"
    text = data[2:].decode("utf-16-le")
    assert text == "" or text.endswith("\r\n"), f"unicode.dat ends in {text[-8:]!r}"
    return text.split("\r\n")[:-1] if text else []


def local_program_folder(desktop: Desktop) -> Path:
    """pellix's folder under the prefix user's local application data (%LOCALAPPDATA%\\pellix),
    where it keeps what belongs to the machine rather than to its own folder."""
    users = [u for u in (desktop.wine.drive_c / "users").iterdir()
             if u.is_dir() and not u.is_symlink() and u.name != "Public"]
    assert len(users) == 1, users
    return users[0] / "AppData" / "Local" / "pellix"


def set_instance_tag(desktop: Desktop, tag: str) -> None:
    """The tag pellix on this "PC" puts in its temporary and lock files' names, chosen before it
    first starts (it makes one at random otherwise)."""
    folder = local_program_folder(desktop)
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "instance.txt").write_bytes(f"{tag}\r\n".encode())
