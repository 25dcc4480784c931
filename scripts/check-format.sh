#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ file is not formatted as .clang-format says.
# The generated .inc tables are left out: they keep one row a line, so that a regenerated table
# differs from the old one row by row, and clang-format would pack several rows into a line.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 1; }

files=()
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.cc' '*.cxx' '*.h' '*.hpp')
else
  # A copy of the sources without its history: every C++ file outside the build folders.
  mapfile -d '' files < <(find . \( -path ./build -o -path ./out -o -path ./.git \) -prune -o \
    -type f \( -name '*.cpp' -o -name '*.cc' -o -name '*.cxx' -o -name '*.h' -o -name '*.hpp' \) \
    -printf '%P\0' | sort -z)
fi
if [ ${#files[@]} -eq 0 ]; then
  echo "no C++ files found to check" >&2
  exit 1
fi

unformatted=()
for file in "${files[@]}"; do
  [ -f "$file" ] || continue # tracked, but deleted in this work tree
  clang-format --dry-run --Werror --style=file "$file" >/dev/null 2>&1 || unformatted+=("$file")
done

if [ ${#unformatted[@]} -ne 0 ]; then
  echo "${#unformatted[@]} of ${#files[@]} C++ files are not formatted as .clang-format says" \
    "(clang-format -i fixes them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "${#files[@]} C++ files formatted as .clang-format says"
