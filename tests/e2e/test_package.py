"""The release zip as a user gets it: what it holds, that its pellix.exe needs no DLL beside it,
and that the unpacked program starts in a fresh folder and ends cleanly through 終了.

The test command builds the package and names it in PELLIX_PACKAGE; without it (a developer
running the end-to-end tests on a plain build) these tests are skipped.
"""

from __future__ import annotations

import os
import re
import shutil
import struct
import subprocess
import zipfile
from pathlib import Path

import pytest

from harness import Desktop, wait_until
from ids import CMD_EXIT, WM_COMMAND
from pellix import HISTORY, Pellix, project_version

VERSION = project_version()
MAJOR, MINOR = (int(part) for part in VERSION.split("."))
LANG_JAPANESE = 0x0411
# Windows 10 and 11, 8.1, 8 and 7.
SUPPORTED_OS = {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}
TOP = f"pellix-{VERSION}-win64"
MAX_EXE_BYTES = 2 * 1024 * 1024

# What Windows itself provides (and what Wine provides in its place). The C++ runtime, libgcc
# and winpthread are linked in statically; any of their DLLs here would make the zip unusable.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "imm32.dll", "kernel32.dll",
    "msvcrt.dll", "ntdll.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "uxtheme.dll", "version.dll", "winmm.dll", "ucrtbase.dll",
}


def system_dll(name: str) -> bool:
    name = name.lower()
    return name in SYSTEM_DLLS or name.startswith("api-ms-win-")


@pytest.fixture(scope="module")
def package() -> Path:
    named = os.environ.get("PELLIX_PACKAGE")
    if not named:
        pytest.skip("PELLIX_PACKAGE is not set (the test command builds the package and sets it)")
    path = Path(named)
    assert path.name == f"{TOP}.zip"
    assert path.is_file(), f"{path} is missing: cmake --build --preset mingw --target package"
    return path


@pytest.fixture(scope="module")
def unpacked(package: Path, tmp_path_factory: pytest.TempPathFactory) -> Path:
    target = tmp_path_factory.mktemp("package")
    with zipfile.ZipFile(package) as archive:
        archive.extractall(target)
    return target / TOP


def test_the_zip_holds_one_folder_with_the_program_its_help_readme_and_licence(package: Path):
    with zipfile.ZipFile(package) as archive:
        assert archive.testzip() is None
        names = sorted(info.filename for info in archive.infolist() if not info.is_dir())
    assert names == sorted(f"{TOP}/{name}" for name in
                           ("pellix.exe", "pellixhelp.html", "readme.txt", "LICENSE.txt"))


def test_readme_and_licence_read_right_in_notepad(unpacked: Path):
    readme = (unpacked / "readme.txt").read_bytes()
    assert readme.startswith(b"\xef\xbb\xbf"), "UTF-8 with its byte-order mark"
    assert b"\n" not in readme.replace(b"\r\n", b""), "CR LF line ends only"
    text = readme.decode("utf-8-sig")
    assert f"pellix) {VERSION}" in text
    for needed in ("pellix.exe", "pellix.ini", "pellixhelp.html", "アンインストール", "フォルダーごと削除"):
        assert needed in text, needed
    licence = (unpacked / "LICENSE.txt").read_bytes()
    assert b"\n" not in licence.replace(b"\r\n", b"")
    assert licence.startswith(b"MIT License\r\n")
    assert b"Copyright (C) 2026 the pellix developers" in licence
    repo_help = Path(__file__).resolve().parents[2] / "src/win32/shell/res/pellixhelp.html"
    assert (unpacked / "pellixhelp.html").read_bytes() == repo_help.read_bytes()


def test_the_executable_is_small_and_needs_only_system_dlls(unpacked: Path):
    exe = unpacked / "pellix.exe"
    assert exe.stat().st_size < MAX_EXE_BYTES
    objdump = shutil.which("x86_64-w64-mingw32-objdump")
    assert objdump, "x86_64-w64-mingw32-objdump (binutils-mingw-w64) is needed to read imports"
    headers = subprocess.run([objdump, "-p", str(exe)], capture_output=True, text=True,
                             timeout=60, check=True).stdout
    imported = re.findall(r"DLL Name: (\S+)", headers)
    assert "KERNEL32.dll" in imported and "USER32.dll" in imported, imported
    assert not [name for name in imported if not system_dll(name)], imported


def test_the_executable_carries_its_version_and_description(unpacked: Path):
    data = (unpacked / "pellix.exe").read_bytes()
    fixed = data.find(struct.pack("<I", 0xFEEF04BD))
    assert fixed > 0, "no VS_FIXEDFILEINFO"
    _, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", data, fixed)
    as_four = ((MAJOR << 16) | MINOR, 0)  # major.minor.0.0
    assert (file_ms, file_ls) == as_four and (product_ms, product_ls) == as_four

    def string_value(key: str) -> str:
        start = data.find(key.encode("utf-16-le") + b"\0\0")
        assert start > 0, key
        start += len(key) * 2 + 2
        start += (-start) % 4  # the value is aligned on 32 bits
        end = data.find(b"\0\0", start)
        while (end - start) % 2:
            end = data.find(b"\0\0", end + 1)
        return data[start:end].decode("utf-16-le")

    assert string_value("FileVersion") == VERSION
    assert string_value("ProductVersion") == VERSION
    assert string_value("ProductName") == "pellix"
    assert string_value("FileDescription") == "ぺりくす クリップボード履歴マネージャー"
    assert string_value("LegalCopyright") == "Copyright (C) 2026 the pellix developers"


def test_the_manifest_names_the_same_version_and_the_windows_it_runs_on(unpacked: Path):
    data = (unpacked / "pellix.exe").read_bytes()
    start = data.find(b"<?xml")
    end = data.find(b"</assembly>", start)
    assert 0 <= start < end, "no manifest in the executable"
    manifest = data[start:end].decode("utf-8")
    identity = re.search(r'<assemblyIdentity type="win32" name="pellix" version="([\d.]+)"',
                         manifest)
    assert identity and identity.group(1) == f"{MAJOR}.{MINOR}.0.0", manifest
    assert set(re.findall(r'<supportedOS Id="([^"]+)"', manifest)) == SUPPORTED_OS, manifest


def resource_languages(exe: Path) -> set[int]:
    """The language ids of the executable's resources: the third level of the resource
    directory (type, name, language), read from the PE file itself."""
    data = exe.read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    rva = struct.unpack_from("<I", data, optional + 112 + 2 * 8)[0]  # PE32+: resources are #2
    table = optional + optional_size
    for index in range(sections):
        _, size, address, _, offset = struct.unpack_from("<8sIIII", data, table + 40 * index)
        if address <= rva < address + size:
            base = offset + rva - address
            break
    else:
        raise AssertionError("no section holds the resources")

    def entries(directory: int) -> list[tuple[int, int]]:
        named, numbered = struct.unpack_from("<HH", data, base + directory + 12)
        return [struct.unpack_from("<II", data, base + directory + 16 + 8 * i)
                for i in range(named + numbered)]

    languages = set()
    for _, types in entries(0):
        for _, names in entries(types & 0x7FFFFFFF):
            languages |= {language for language, _ in entries(names & 0x7FFFFFFF)}
    return languages


def test_every_resource_is_japanese(unpacked: Path):
    assert resource_languages(unpacked / "pellix.exe") == {LANG_JAPANESE}


def test_the_application_icon_has_every_size_windows_asks_for(unpacked: Path):
    """The icon group resource (GRPICONDIR: reserved, type 1, count, then 14-byte entries whose
    first byte is the width, 0 meaning 256)."""
    data = (unpacked / "pellix.exe").read_bytes()
    groups = []
    at = data.find(b"\0\0\1\0")
    while at >= 0:
        count = struct.unpack_from("<H", data, at + 4)[0]
        entries = [data[at + 6 + 14 * i:at + 20 + 14 * i] for i in range(count)] if count < 16 else []
        if entries and all(len(e) == 14 and e[0] == e[1] and e[4:6] == b"\1\0" for e in entries):
            groups.append(sorted(e[0] or 256 for e in entries))
        at = data.find(b"\0\0\1\0", at + 1)
    assert [16, 20, 24, 32, 48, 256] in groups, groups


def test_the_unpacked_program_starts_in_a_fresh_folder_and_ends_through_exit(
        desktop: Desktop, unpacked: Path):
    for item in unpacked.iterdir():
        shutil.copy2(item, desktop.app_dir / item.name)
    app = Pellix.start(desktop)
    assert app.main["visible"]
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_EXIT, 0)
    wait_until(lambda: not app.process.running(), 20, "pellix to end after 終了")
    assert app.process.reap() == 0
    settings = (desktop.app_dir / "pellix.ini").read_bytes()
    assert b"fsmods=2\r\n" in settings and b"hotkey=A\r\n" in settings
    written = {path.name for path in desktop.app_dir.iterdir()}
    assert {"pellix.ini", f"{HISTORY}.dat", f"{HISTORY}.flt"} <= written
    assert not [name for name in written if name.endswith(".saving")]
