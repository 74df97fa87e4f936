#!/usr/bin/env bash
# The program folder that `cmake --install` lays out, a reinstall over a diary in use, and
# the move of a diary out of an old program folder (tools/move-data.sh).
#   tst_install.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
export LC_ALL=C
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; "$@" || fail "$what"; }
fails() { ! "$@"; }
# Relative path, type and checksum of everything below a folder.
inventory() {
    (cd "$1" && find . -mindepth 1 -printf '%y %p\n' | LC_ALL=C sort &&
        find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum)
}
# A small diary: binary month and settings files, a user's own copy, an empty folder.
make_diary() {
    mkdir -p "$1/data/ini" "$1/data/2026" "$1/data/0000" "$1/data/empty"
    head -c 3000 /dev/urandom >"$1/data/2026/07.log"
    head -c 500 /dev/urandom >"$1/data/ini/zumicho.ini"
    printf 'copy\r\n' >"$1/data/2026/07.log.backup"
}

# --- A fresh install lays out exactly the program folder. ---
folder="$work/prog folder"
cmake --install "$build" --prefix "$folder" >/dev/null
expected="share zumicho zumicho-data zumicho.desktop zumicho.svg zumikey zumikey-bridge"
[ -d "$source/docs/manual" ] && expected="manual $expected"
expected="browser $expected"
check "program folder holds: $(ls "$folder" | xargs)" [ "$(ls "$folder" | xargs)" = "$expected" ]
for program in zumicho zumikey zumicho-data zumikey-bridge; do
    check "$program is executable" [ -x "$folder/$program" ]
done
for browser in chromium firefox; do
    check "the $browser extension is installed" \
        [ "$(ls "$folder/browser/$browser" | xargs)" = "background.js fill.js manifest.json page.js" ]
done
if [ -d "$source/docs/manual" ]; then
    check "the manual is installed whole" diff -r "$source/docs/manual" "$folder/manual"
fi
check "no test program installed" [ -z "$(find "$folder" -name 'tst_*' -o -name 'bench_*' -o -name 'zumi_*' -o -name 'zumibench')" ]
entry="$folder/zumicho.desktop"
for line in "Type=Application" "Name=ズミラ帳" "Exec=\"$folder/zumicho\"" "Path=$folder" \
            "Icon=$folder/zumicho.svg" "Terminal=false"; do
    check "desktop entry has $line" grep -qxF "$line" "$entry"
done
check "desktop entry is executable" [ -x "$entry" ]
check "icon is an SVG" grep -q "<svg" "$folder/zumicho.svg"

# --- The menu's entries, the icon theme and the metainfo, in both layouts. ---
icons="icons/hicolor/scalable/apps/com.example.zumicho.svg"
for size in 16 22 24 32 48 64 128 256 512; do
    icons="$icons icons/hicolor/${size}x${size}/apps/com.example.zumicho.png"
done
menu_checks() { # FOLDER-WITH-SHARE EXEC-OF-THE-DIARY
    local share=$1/share program
    for program in zumicho zumikey; do
        local entry="$share/applications/com.example.$program.desktop"
        check "$entry validates" desktop-file-validate "$entry"
        check "$entry names its window class" grep -qxF "StartupWMClass=$program" "$entry"
        check "$entry names the themed icon" grep -qxF "Icon=com.example.zumicho" "$entry"
    done
    check "menu entry starts $2" grep -qxF "Exec=$2" "$share/applications/com.example.zumicho.desktop"
    for icon in $icons; do
        check "$icon installed" [ -s "$share/$icon" ]
    done
    for size in 16 256; do
        check "$size px icon is $size px" \
            grep -q "PNG image data, $size x $size" <(file "$share/icons/hicolor/${size}x$size/apps/com.example.zumicho.png")
    done
}
menu_checks "$folder" "\"$folder/zumicho\""
check "menu entry works in the program folder" \
    grep -qxF "Path=$folder" "$folder/share/applications/com.example.zumicho.desktop"
system="$work/system"
DESTDIR="$system" cmake --install "$build" --component system --prefix /usr >/dev/null
menu_checks "$system/usr" zumicho
check "metainfo validates" appstreamcli validate --no-net "$system/usr/share/metainfo/com.example.zumicho.metainfo.xml"
check "system install is marked" [ -f "$system/usr/lib/zumicho/system-install" ]
check "folder install is not marked" [ ! -e "$folder/system-install" ]
for program in zumicho zumikey zumicho-data; do
    check "$program on PATH" [ "$(readlink "$system/usr/bin/$program")" = "../lib/zumicho/$program" ]
done
# The package holds exactly the system install.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null 2>&1)
package=$(ls "$work"/package/zumicho_*.deb)
listed=$(dpkg-deb -c "$package" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | grep -v '^$' | sort)
check "package holds the system install" [ "$listed" = "$(cd "$system" && find usr | sed 's|^|/|' | sort)" ]
for field in "Package: zumicho" "Architecture: $(dpkg --print-architecture)"; do
    check "package control has $field" grep -qxF " $field" <(dpkg-deb -I "$package")
done
check "package depends on Qt's Japanese" grep -q "^ Depends:.*qt6-translations-l10n" <(dpkg-deb -I "$package")
check "package depends on the Qt libraries" grep -q "^ Depends:.*libqt6widgets6" <(dpkg-deb -I "$package")
# The installed tool runs from its folder: a file encoded and decoded comes back the same.
printf 'plain\r\n' >"$work/plain.txt"
"$folder/zumicho-data" encode "$work/plain.txt" >"$work/scrambled"
"$folder/zumicho-data" decode "$work/scrambled" >"$work/back.txt"
check "installed zumicho-data runs" cmp -s "$work/plain.txt" "$work/back.txt"

# --- A reinstall keeps the diary byte for byte. ---
make_diary "$folder"
before=$(inventory "$folder/data")
printf 'old' >"$folder/zumikey"
cmake --install "$build" --prefix "$folder" >/dev/null
check "reinstall keeps data/" [ "$before" = "$(inventory "$folder/data")" ]
check "reinstall replaces the programs" cmp -s "$folder/zumikey" "$build/bin/zumikey"

# --- Moving a diary out of an old program folder. ---
move="$source/tools/move-data.sh"
export TMPDIR="$work" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME/Desktop"
old="$work/build/bin"
new="$work/installed"
make_diary "$old"
printf '[Desktop Entry]\nExec="%s/zumicho"\nPath=%s\n' "$old" "$old" >"$HOME/Desktop/ズミラ帳.desktop"
before=$(inventory "$old/data")

# A diary program still running from the old folder keeps everything where it is.
printf '%s\nzumikey\nhost\n' $$ >"$old/.data.zumikey.lock"
check "refuses while a program runs there" fails bash "$move" "$old" "$new" 2>/dev/null
check "nothing moved while running" [ ! -e "$new/data" ]
check "old diary kept while running" [ "$before" = "$(inventory "$old/data")" ]
rm "$old/.data.zumikey.lock"

message=$(bash "$move" "$old" "$new")
check "moved diary arrives whole" [ "$before" = "$(inventory "$new/data")" ]
check "old data/ removed after the move" [ ! -e "$old/data" ]
check "the move is reported: $message" grep -q "moved from $old/data to $new/data" <<<"$message"
check "shortcut starts the new folder" grep -qxF "Exec=\"$new/zumicho\"" "$HOME/Desktop/ズミラ帳.desktop"
check "said only once" [ -z "$(bash "$move" "$old" "$new" 2>&1)" ]

# With a diary at both places, neither is touched.
make_diary "$old"
before_old=$(inventory "$old/data")
before_new=$(inventory "$new/data")
bash "$move" "$old" "$new" 2>/dev/null
check "old diary untouched beside a new one" [ "$before_old" = "$(inventory "$old/data")" ]
check "new diary untouched beside an old one" [ "$before_new" = "$(inventory "$new/data")" ]

[ "$failures" -eq 0 ] && echo "PASS: tst_install" || exit 1
