#!/usr/bin/env bash
# Installs what is missing, builds, installs the programs into their program folder and
# starts the diary from there. The diary's data/ lives in that folder, outside the
# repository, so that removing build/ never touches it.
#   tools/run.sh [FOLDER]   the program folder: FOLDER, else $ZUMICHO_HOME, else ~/zumicho
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

target=$(realpath -m "${1:-${ZUMICHO_HOME:-$HOME/zumicho}}")
case "$target/" in
    "$ROOT/"*)
        echo "The program folder $target lies inside the repository; choose one outside it." >&2
        exit 1 ;;
esac
# Refuse a folder that holds other things (such as the home folder itself).
if [ -d "$target" ] && [ -n "$(ls -A "$target")" ] && [ ! -e "$target/zumicho" ] && [ ! -e "$target/data" ]; then
    echo "$target already holds other files; choose an empty or new folder." >&2
    exit 1
fi

install_packages
# Only what the install needs; tools/test.sh builds the rest.
BUILD_TARGETS=programs build "$ROOT/build"
# Replaces the programs and the files that come with them; data/ is never part of it.
cmake --install "$ROOT/build" --prefix "$target" >/dev/null
# The menu's entries and the icon theme, where the desktop looks for a user's own.
share=${XDG_DATA_HOME:-$HOME/.local/share}
mkdir -p "$share"
cp -r "$target/share/." "$share/"
command -v update-desktop-database >/dev/null && update-desktop-database -q "$share/applications" || true
# Earlier versions kept the diary in build/bin/data.
bash "$ROOT/tools/move-data.sh" "$ROOT/build/bin" "$target"
exec "$target/zumicho"
