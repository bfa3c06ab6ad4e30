#!/usr/bin/env bash
# Fails when an #include runs against the order of the layers, so the core stays a straight
# stack and the Qt shell never leaks into it. The order is written down here and nowhere else.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root/src"

# The Qt-free core, lowest first: a folder may include itself and the folders before it.
core=(common platform files decode dashboard chart log engine sim set definitions analysis warnings session)
# The shell: each folder and the folders it may include besides the whole core.
declare -A shell=(
    [io]="io"
    [widgets]="widgets"
    [cli]="cli io"
    [app]="app io widgets"
)

rank_of() {
    local i
    for i in "${!core[@]}"; do
        if [ "${core[$i]}" = "$1" ]; then
            echo "$i"
            return
        fi
    done
    echo -1
}

system_headers='unistd|fcntl|sys|dirent|signal|termios|pwd|grp|poll|pthread|windows|io|direct|process'
failures=0
report() {
    echo "$1" >&2
    failures=$((failures + 1))
}

for folder in */; do
    folder="${folder%/}"
    rank="$(rank_of "$folder")"
    if [ "$rank" -lt 0 ] && [ -z "${shell[$folder]+set}" ]; then
        report "src/$folder: a folder with no place in the layer order (add it to scripts/check-layers.sh)"
        continue
    fi
    while IFS= read -r line; do
        file="${line%%:*}"
        rest="${line#*:}"
        lineno="${rest%%:*}"
        text="${rest#*:}"
        # The operating system's own headers belong to src/platform alone, so the core builds
        # for every system that room has an implementation for.
        if [ "$rank" -ge 0 ] && [ "$folder" != platform ] &&
            [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<($system_headers)[/.] ]]; then
            report "$file:$lineno: an operating system header outside src/platform: $text"
            continue
        fi
        if [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<Q ]]; then
            if [ "$rank" -ge 0 ]; then
                report "$file:$lineno: Qt in the core: $text"
            fi
            continue
        fi
        [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]] || continue
        target="${BASH_REMATCH[1]}"
        target_rank="$(rank_of "$target")"
        if [ "$rank" -ge 0 ]; then
            if [ "$target_rank" -lt 0 ]; then
                report "$file:$lineno: the core includes the shell: $text"
            elif [ "$target_rank" -gt "$rank" ]; then
                report "$file:$lineno: $folder includes $target, which stands above it: $text"
            fi
        elif [ "$target_rank" -lt 0 ] && [[ " ${shell[$folder]} " != *" $target "* ]]; then
            report "$file:$lineno: $folder may not include $target: $text"
        fi
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' "$folder" --include='*.h' --include='*.cpp' || true)
done

if [ "$failures" -gt 0 ]; then
    echo "check-layers: $failures include(s) against the layer order" >&2
    echo "order (lowest first): ${core[*]}; shell: io, widgets, cli (+io), app (+io, widgets)" >&2
    exit 1
fi
echo "check-layers: every include follows the layer order"
