"""pellix's ids as data, read from the X(name, number) tables of src/win32/ui/control_ids.h.

The build runs this to write pellix_ids.json for the end-to-end tests; ids.py calls read_tables
itself when the tests run without that file. Only the tables' own shape is understood: a
`#define PELLIX_…(X)` whose body is X(name, number) entries and /* comments */, nothing else, so a
line of another shape stops the script instead of being guessed at.

    python3 ids_from_header.py HEADER OUTPUT.json
"""

from __future__ import annotations

import json
import re
import sys
from pathlib import Path

HEADER = Path(__file__).resolve().parents[2] / "src" / "win32" / "ui" / "control_ids.h"

_TABLE = re.compile(r"#define\s+(PELLIX_\w+)\(X\)(.*)")
_ENTRY = re.compile(r"X\(\s*([A-Za-z_]\w*)\s*,\s*(0[xX][0-9A-Fa-f]+|[0-9]+)\s*\)")
_COMMENT = re.compile(r"/\*.*?\*/")


def _logical_lines(text: str):
    """The header's lines with the backslash continuations joined, as the preprocessor sees them."""
    return re.sub(r"\\\n", " ", text).splitlines()


def read_tables(header: Path = HEADER) -> dict[str, dict[str, int]]:
    """Every table of the header by its macro's name, each its names with their numbers."""
    tables: dict[str, dict[str, int]] = {}
    seen: dict[str, str] = {}
    for line in _logical_lines(header.read_text(encoding="utf-8")):
        table = _TABLE.match(line.strip())
        if not table:
            continue
        name, body = table.group(1), _COMMENT.sub(" ", table.group(2))
        entries = {}
        rest = _ENTRY.sub(" ", body)
        if rest.strip():
            raise ValueError(f"{header}: {name} holds something other than X(name, number): "
                             f"{rest.strip()!r}")
        for entry in _ENTRY.finditer(body):
            key, value = entry.group(1), int(entry.group(2), 0)
            if key in seen:
                raise ValueError(f"{header}: {key} is in both {seen[key]} and {name}")
            seen[key] = name
            entries[key] = value
        if not entries:
            raise ValueError(f"{header}: {name} is empty")
        tables[name] = entries
    if not tables:
        raise ValueError(f"{header}: no X(name, number) tables found")
    return tables


def flatten(tables: dict[str, dict[str, int]]) -> dict[str, int]:
    """Every id of the tables by its C++ name (read_tables makes sure no name is in two)."""
    return {key: value for entries in tables.values() for key, value in entries.items()}


def main(argv: list[str]) -> int:
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[-1].strip(), file=sys.stderr)
        return 2
    header, output = Path(argv[1]), Path(argv[2])
    output.write_text(json.dumps(read_tables(header), indent=2) + "\n", encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
