#!/usr/bin/env bash
# Fails when a test source, a CMake file or a script names a path that climbs out of the
# repository: a fresh clone with nothing beside it must build and pass its tests.
# A ".." step counts from the folder of the file that holds it when it follows
# $(dirname "$0") or ${CMAKE_CURRENT_SOURCE_DIR} / ${CMAKE_CURRENT_LIST_DIR}, and may climb
# at most as far as the repository root; anywhere else (after ${CMAKE_SOURCE_DIR}, in a
# string relative to the working directory) any ".." step is out of bounds.
# Usage: tests/scripts/stays-inside-repository.sh <repository root>
set -euo pipefail
cd "${1:?usage: stays-inside-repository.sh <repository root>}"

anchor='\$\(dirname "\$0"\)/|\$\{CMAKE_CURRENT_(SOURCE|LIST)_DIR\}/'
# A run of parent-folder steps with a slash before or after it.
climb="(?:$anchor)?(?:(?<=/)\\.\\.(?:/\\.\\.)*(?![\\w.-])|(?<![\\w./-])\\.\\.(?:/\\.\\.)*(?=/))"

files=$(find . \( -path ./.git -o -path './build*' -o -path ./tests/data \) -prune -o -type f \
    \( -name CMakeLists.txt -o -name '*.cmake' -o -name '*.sh' \
       -o -path './tests/*.cpp' -o -path './tests/*.h' \) -print | sort)
[ -n "$files" ] || { echo "no files to look at in $(pwd)"; exit 1; }

found=0
checked=0
for file in $files; do
    checked=$((checked + 1))
    relative=${file#./}
    slashes=${relative//[^\/]/}
    depth=${#slashes}
    while IFS=: read -r line match; do
        [ -n "$match" ] || continue
        dots=${match//[^.]/}
        steps=$((${#dots} / 2))
        allowed=0
        [[ "$match" == '$'* ]] && allowed=$depth
        if [ "$steps" -gt "$allowed" ]; then
            echo "$relative:$line: '$match' climbs $steps folder(s) up, out of the repository"
            found=1
        fi
    done < <(grep -noP "$climb" "$file" || true)
done
[ "$found" -eq 0 ] && echo "$checked files: every path stays inside the repository"
exit "$found"
