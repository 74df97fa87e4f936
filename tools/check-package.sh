#!/usr/bin/env bash
# CI: builds the Debian package, checks its control fields and file list, installs it with
# apt (CI runs as root on its own machine) and starts the installed diary once under Xvfb:
# its window must show and close cleanly, with its data in ~/.local/share/zumicho/data.
#   tools/check-package.sh              the whole check, as CI runs it
#   tools/check-package.sh --unpacked   the same start from the unpacked package, no apt
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$(bash "$ROOT/tools/package.sh")
echo "package: $deb ($(stat -c %s "$deb") bytes, $(dpkg-deb -c "$deb" | grep -vc '/$') files)"
info=$(dpkg-deb -I "$deb")
for field in "Package: zumicho" "Version: 1.0" "Architecture: $(dpkg --print-architecture)"; do
    grep -qxF " $field" <<<"$info" || fail "control lacks $field"
done
for need in libqt6widgets6 libqt6svg6 qt6-translations-l10n fonts-ipafont-gothic; do
    grep -q "^ Depends:.*\b$need\b" <<<"$info" || fail "Depends lacks $need"
done
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/zumicho ./usr/bin/zumikey ./usr/bin/zumicho-data ./usr/lib/zumicho/zumicho \
    ./usr/lib/zumicho/system-install ./usr/lib/zumicho/manual/index.html \
    ./usr/lib/zumicho/zumikey-bridge ./usr/lib/zumicho/browser/chromium/manifest.json \
    ./usr/lib/zumicho/browser/firefox/manifest.json \
    ./usr/share/applications/com.example.zumicho.desktop \
    ./usr/share/applications/com.example.zumikey.desktop \
    ./usr/share/metainfo/com.example.zumicho.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/com.example.zumicho.svg \
    ./usr/share/icons/hicolor/48x48/apps/com.example.zumicho.png; do
    grep -qxF "$path" <<<"$files" || fail "package lacks $path"
done

if [ "${1:-}" = "--unpacked" ]; then
    dpkg-deb -x "$deb" "$work/root"
    diary="$work/root/usr/bin/zumicho"
else
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
    diary=$(command -v zumicho) || fail "zumicho is not on PATH after the install"
    desktop-file-validate /usr/share/applications/com.example.zumicho.desktop \
        /usr/share/applications/com.example.zumikey.desktop || fail "installed entries do not validate"
fi

# One start of a new user's diary under Xvfb with a window manager.
export HOME="$work/home" XDG_DATA_HOME="" XDG_CONFIG_HOME="" QT_QPA_PLATFORM=xcb
mkdir -p "$HOME"
exec 3< <(Xvfb -displayfd 1 -screen 0 1366x768x24 -nolisten tcp 2>/dev/null)
pids+=($!)
read -r display <&3 || fail "Xvfb did not start"
export DISPLAY=":$display"
openbox >/dev/null 2>&1 &
pids+=($!)
# A window mapped while the window manager is still starting may never get its title: wait
# until openbox has taken the screen.
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.2
done
"$diary" >"$work/diary.log" 2>&1 &
diary_pid=$!
pids+=("$diary_pid")
# Waits up to 60 s (a first start after an install may build font caches) for a window of the diary with this exact title and prints its id.
window() {
    for _ in $(seq 300); do
        local id
        id=$(xdotool search --all --onlyvisible --pid "$diary_pid" --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$diary_pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}
# A first start asks about a desktop shortcut: no.
ended() {
    kill -0 "$diary_pid" 2>/dev/null && { echo "still running"; return; }
    wait "$diary_pid"
    echo "ended with status $?"
}
box=$(window "ズミラ帳初回起動") ||
    fail "no first-start question (the diary $(ended)); $(cat "$work/diary.log")"
xdotool windowactivate --sync "$box" key Escape
main=$(window "ズミラ帳") || fail "the main window did not show; $(cat "$work/diary.log")"
xdotool windowactivate --sync "$main" key alt+F4
for _ in $(seq 50); do kill -0 "$diary_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$diary_pid" 2>/dev/null && fail "the diary did not close"
wait "$diary_pid" || fail "the diary ended with status $?; $(cat "$work/diary.log")"
[ -s "$HOME/.local/share/zumicho/data/ini/zumicho.ini" ] || fail "no settings in ~/.local/share/zumicho/data"
[ ! -e "$(dirname "$diary")/data" ] || fail "data/ was made in the program folder"
echo "PASS: the installed diary started and closed; its data is in ~/.local/share/zumicho/data"
[ "${1:-}" = "--unpacked" ] || apt-get remove -y -qq zumicho >/dev/null
