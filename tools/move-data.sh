#!/usr/bin/env bash
# Moves a diary kept in an old program folder (build/bin of earlier versions) into the
# program folder, when that folder has no diary of its own yet:
#   tools/move-data.sh OLD_PROGRAM_FOLDER PROGRAM_FOLDER
# The old data/ is copied beside the new place, every file is compared by checksum, the
# copy is renamed into place, and only then is the old data/ removed.
# Exit status: 0 moved or nothing to do, 1 a diary program still runs from the old folder
# or the copy did not arrive whole (the old data/ is left as it was in both cases).
set -euo pipefail

old_folder=$1
new_folder=$2
old="$old_folder/data"
new="$new_folder/data"

[ -d "$old" ] || exit 0
if [ -e "$new" ]; then
    echo "Note: $old holds a diary too; the diary in use is $new." \
        "Move or remove the old folder yourself once you no longer need it." >&2
    exit 0
fi

# Both programs hold a lock beside the real place of their data folder while they run;
# earlier versions held one named after the program folder in the temporary folder.
real=$(realpath "$old")
key=$(printf '%s' "$(realpath "$old_folder")" | sha1sum | cut -c1-16)
for lock in "$(dirname "$real")/.$(basename "$real")".{zumicho,zumikey}.lock \
    "${TMPDIR:-/tmp}"/{zumicho,zumikey}-"$key".lock; do
    program=$(basename "$lock" .lock)
    program=${program##*.}
    program=${program%%-*}
    if [ -f "$lock" ]; then
        pid=$(head -n 1 "$lock")
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
            echo "$program is running from $old_folder; close it, then start again." >&2
            exit 1
        fi
    fi
done

# Relative path, type and checksum of everything below a folder, in a fixed order.
inventory() {
    (cd "$1" && find . -mindepth 1 -printf '%y %p\n' | LC_ALL=C sort &&
        find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum)
}

mkdir -p "$new_folder"
copy=$(mktemp -d "$new_folder/.data-moving.XXXXXX")
if ! cp -a "$old/." "$copy/" || [ "$(inventory "$old")" != "$(inventory "$copy")" ]; then
    rm -rf "$copy"
    echo "Could not copy $old to $new whole; nothing was moved." >&2
    exit 1
fi
chmod --reference="$old" "$copy"
sync
mv -T "$copy" "$new"
rm -rf "$old"
echo "Your diary was moved from $old to $new."

# A desktop shortcut made by the old folder's first start now starts the installed program.
desktop=$(xdg-user-dir DESKTOP 2>/dev/null || true)
# xdg-user-dir answers the home folder where no desktop folder is configured.
{ [ -n "$desktop" ] && [ "$desktop" != "$HOME" ]; } || desktop="$HOME/Desktop"
shortcut="$desktop/ズミラ帳.desktop"
from=$(realpath "$old_folder")
to=$(realpath "$new_folder")
if [ -f "$shortcut" ] && grep -qF "\"$from/zumicho\"" "$shortcut"; then
    text=$(<"$shortcut")
    printf '%s\n' "${text//"$from"/"$to"}" >"$shortcut"
    echo "The desktop shortcut $shortcut now starts $to/zumicho."
fi
