#!/usr/bin/env bash
# Keeps the layers pointing down. Fails, naming each file and line, on
#  - an #include of a folder above the file's own (platform → book → ui → results →
#    entry | download → main_window → cli | app; folders on one level do not include
#    each other);
#  - a logic file (one built into the toolkit-free library) that includes ui/, a form_
#    header, or the header of a file built into the widgets' library;
#  - a call outside src/book of a book function that changes a TicketBook: the window and
#    the tool change a book only through its document.
# Usage: layer_check.sh SRC_DIR LOGIC_SOURCES_FILE WIDGET_SOURCES_FILE
# (the two files list the libraries' source files, one absolute path per line).
set -uo pipefail
src=$(cd "$1" && pwd)
logic_list=$2
widget_list=$3
faults=0

fault() {
    echo "$1"
    faults=$((faults + 1))
}


# A source file and the header of the same name, as paths under src/.
with_headers() {
    sed -e "s|^$src/||" "$1" | grep -E '\.cpp$' | while read -r f; do
        echo "$f"
        echo "${f%.cpp}.h"
    done | sort -u
}
logic=$(with_headers "$logic_list")
widgets=$(with_headers "$widget_list")

# One pass over every include: awk holds the levels and the two sets.
includes=$(cd "$src" && grep -rnE --include='*.h' --include='*.cpp' '^#include "[^"]*/[^"]*"' . | sed 's|^\./||')
while IFS= read -r message; do
    [ -n "$message" ] && fault "$message"
done < <(awk -v logic="$logic" -v widgets="$widgets" '
    BEGIN {
        split("platform book ui results entry download main_window cli app", names, " ")
        split("0 1 2 3 4 4 5 6 6", ranks, " ")
        for (i in names) level[names[i]] = ranks[i]
        n = split(logic, l, "\n"); for (i = 1; i <= n; ++i) is_logic[l[i]] = 1
        n = split(widgets, w, "\n"); for (i = 1; i <= n; ++i) is_widget[w[i]] = 1
    }
    {
        split($0, part, ":"); file = part[1]; line = part[2]
        target = $0; sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
        own = file; sub(/\/.*/, "", own)
        dir = target; sub(/\/.*/, "", dir)
        base = target; sub(/.*\//, "", base)
        if (dir != own && (!(dir in level) || level[dir] >= level[own]))
            print file ":" line ": includes " target ", which is not below " own "/"
        if ((file in is_logic) && (dir == "ui" || base ~ /^form_/ || (target in is_widget)))
            print file ":" line ": a logic file includes " target " of the widgets\x27 side"
    }' <<<"$includes")

# The book's functions that take a TicketBook to change it: free functions declared at the
# start of a line, and classes whose constructor takes one.
changers=$(cd "$src/book" && {
    grep -hE '^[A-Za-z].*[(,] *TicketBook &' ./*.h | grep -vE '^(using|typedef)' |
        sed -E 's/^[^(]*[ *&]([A-Za-z_][A-Za-z0-9_]*)\(.*/\1/'
    grep -hE '^    ([A-Z][A-Za-z0-9_]*)\((.*, *)?TicketBook &' ./*.h |
        sed -E 's/^    ([A-Z][A-Za-z0-9_]*)\(.*/\1/'
} | sort -u)
if [ -z "$changers" ]; then
    fault "no function of src/book that changes a TicketBook was found: the check is out of date"
fi
pattern="(^|[^.>:A-Za-z0-9_])($(paste -sd'|' <<<"$changers"))[ ]*[({]|const_cast<TicketBook"
while IFS= read -r hit; do
    fault "$hit: changes a book outside src/book; go through BookDocument"
done < <(cd "$src" && grep -rnE --include='*.h' --include='*.cpp' "$pattern" . | sed 's|^\./||' |
    grep -v '^book/' | grep -vE '^[^:]*:[0-9]+:[[:space:]]*//')

if [ "$faults" -gt 0 ]; then
    echo "$faults layer fault(s)"
    exit 1
fi
echo "layers hold: $(wc -l <<<"$changers") book changers checked"
