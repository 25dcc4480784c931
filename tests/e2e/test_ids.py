"""The ids the tests use come from the program's own header, read as data: a table it cannot read
exactly stops the tests instead of handing them a wrong number."""

from __future__ import annotations

import json
import os
from pathlib import Path

import pytest

import ids_from_header


def write_header(folder: Path, body: str) -> Path:
    header = folder / "ids.h"
    header.write_text(body, encoding="utf-8")
    return header


def test_the_tables_are_read_with_their_numbers_and_without_their_comments(tmp_path: Path):
    header = write_header(tmp_path, """#pragma once
// clang-format off
#define PELLIX_SOME_IDS(X)            \\
  X(kIdFirst, 100)  /* a comment */   \\
  X(kIdSecond, 0x813B)                \\
  X(kIdThird, 7)
#define PELLIX_MORE_IDS(X) X(kIdMore, 1)
#define NOT_A_TABLE(a) a
enum ControlId : int { PELLIX_SOME_IDS(PELLIX_ENUMERATOR) };
""")
    assert ids_from_header.read_tables(header) == {
        "PELLIX_SOME_IDS": {"kIdFirst": 100, "kIdSecond": 0x813B, "kIdThird": 7},
        "PELLIX_MORE_IDS": {"kIdMore": 1},
    }


@pytest.mark.parametrize("entry", ["X(kIdFirst, WM_APP + 1)", "X(kIdFirst)", "Y(kIdFirst, 1)",
                                   "X(kIdFirst, 1) kIdSecond = 2,"])
def test_an_entry_of_another_shape_is_refused(tmp_path: Path, entry: str):
    header = write_header(tmp_path, f"#define PELLIX_SOME_IDS(X) \\\n  X(kIdZero, 0) \\\n  {entry}\n")
    with pytest.raises(ValueError, match="PELLIX_SOME_IDS"):
        ids_from_header.read_tables(header)


def test_a_name_in_two_tables_is_refused(tmp_path: Path):
    header = write_header(tmp_path, "#define PELLIX_A_IDS(X) X(kId, 1)\n"
                                    "#define PELLIX_B_IDS(X) X(kId, 2)\n")
    with pytest.raises(ValueError, match="kId is in both"):
        ids_from_header.read_tables(header)


def test_the_programs_header_is_read_whole():
    tables = ids_from_header.read_tables()
    assert {"PELLIX_MAIN_CONTROL_IDS", "PELLIX_COMMAND_IDS", "PELLIX_INPUT_DIALOG_IDS",
            "PELLIX_EDIT_BOX_IDS", "PELLIX_FILTER_EDITOR_IDS",
            "PELLIX_PRIVATE_MESSAGES"} <= tables.keys()


@pytest.mark.skipif(not os.environ.get("PELLIX_IDS"), reason="run without the build's id file")
def test_the_builds_id_file_is_the_header_of_this_source_tree():
    written = json.loads(Path(os.environ["PELLIX_IDS"]).read_text(encoding="utf-8"))
    assert written == ids_from_header.read_tables(), "pellix_ids.json is older than control_ids.h"
