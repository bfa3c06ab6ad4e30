#!/usr/bin/env bash
# Builds the Debian package and checks it as a user gets it: the three validators, the files a
# desktop expects, then the programs of an unpacked copy, run from another folder by an ordinary
# user who cannot see the checkout (which hides any reliance on the source or build tree).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deb="$(bash "$root/scripts/package.sh" "$@" | tail -n 1)"
echo "package: $deb"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
case "$scratch/" in
    "$root"/*) echo "check-package: the scratch folder lies in the checkout" >&2; exit 1 ;;
esac
dpkg -x "$deb" "$scratch/root"
usr="$scratch/root/usr"
app_id=org.vekaton.Vekaton

echo "--- lintian"
lintian --fail-on error --display-info "$deb"
echo "--- desktop-file-validate"
desktop-file-validate "$usr/share/applications/$app_id.desktop"
echo "--- appstreamcli validate"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml"

echo "--- installed files"
for file in bin/vekaton bin/vekaton-cli bin/vekaton-sim \
    share/man/man1/vekaton.1.gz share/man/man1/vekaton-cli.1.gz share/man/man1/vekaton-sim.1.gz \
    share/icons/hicolor/scalable/apps/$app_id.svg share/icons/hicolor/48x48/apps/$app_id.png \
    share/icons/hicolor/256x256/apps/$app_id.png share/doc/vekaton/manual.md \
    share/doc/vekaton/copyright share/vekaton/demo/Demo.ini; do
    if [ ! -s "$usr/$file" ]; then
        echo "check-package: /usr/$file is missing from the package" >&2
        exit 1
    fi
done
if command -v man >/dev/null; then
    for page in "$usr"/share/man/man1/*.1.gz; do
        warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
        if [ -n "$warnings" ]; then
            echo "check-package: $(basename "$page"): $warnings" >&2
            exit 1
        fi
    done
fi

# The programs run as an ordinary user in a private mount namespace in which the checkout is an
# empty folder that only root may enter, so nothing from the source or build tree can be used.
home="$scratch/home"
mkdir -p "$home/run"
chmod 700 "$home/run"
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$home"
    namespace=(unshare --mount)
    user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
else
    namespace=(unshare --user --map-root-user --mount)
    user=()
fi
if ! "${namespace[@]}" true; then
    echo "check-package: cannot make a mount namespace to hide the checkout in" >&2
    exit 1
fi
run() {
    (cd "$home" && "${namespace[@]}" -- sh -c \
        'mount -t tmpfs -o size=1m,mode=700 none "$1" && shift && exec "$@"' hide "$root" \
        "${user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" \
        XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" VEKATON_LOCK_DIR="$home" \
        QT_QPA_PLATFORM=offscreen "$@")
}
if run test -r "$root/CMakeLists.txt"; then
    echo "check-package: the checkout is still readable to the programs" >&2
    exit 1
fi

echo "--- vekaton-cli --help"
help="$(run "$usr/bin/vekaton-cli" --help)"
head -n 3 <<<"$help"
if grep -q "new-set" <<<"$help"; then
    echo "--- vekaton-cli new-set --list"
    run "$usr/bin/vekaton-cli" new-set --list
fi

echo "--- vekaton --demo, 5 seconds"
# The window writes its process number where this script can read it: it runs as another user,
# under a namespace helper, so the job's own number is not the window's.
run sh -c 'echo $$ >"$0" && exec "$@"' "$home/window.pid" "$usr/bin/vekaton" --demo \
    >"$scratch/window.out" 2>"$scratch/window.err" &
job=$!
sleep 5
if ! kill -0 "$job" 2>/dev/null; then
    wait "$job" || true
    cat "$scratch/window.err" >&2
    echo "check-package: the window ended before 5 seconds" >&2
    exit 1
fi
kill -TERM "$(cat "$home/window.pid")"
status=0
wait "$job" || status=$?
cat "$scratch/window.err"
if [ "$status" -ne 0 ]; then
    echo "check-package: the window ended with exit code $status" >&2
    exit 1
fi
demo="$(find "$home/data" -name Demo.ini -printf '%h\n' | head -n 1)"
if [ -z "$demo" ]; then
    echo "check-package: the demo set was not copied to the user's data folder" >&2
    exit 1
fi
echo "demo set in use: ${demo#"$home/"}"

echo "--- vekaton-cli live on the demo set"
run "$usr/bin/vekaton-cli" live --dir "$demo" --frames 3 >"$scratch/live.csv"
head -n 2 "$scratch/live.csv"
if [ "$(wc -l <"$scratch/live.csv")" -ne 4 ]; then
    echo "check-package: vekaton-cli live did not write a header and 3 frames" >&2
    exit 1
fi
echo "check-package: the package installs, validates and runs from anywhere"
