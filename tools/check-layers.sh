#!/usr/bin/env bash
# Fails when a source file includes from a folder above its own layer.
#   core      foundation, includes core only
#   diary     headless diary logic: core, diary
#   platform  desktop calls: core, platform
#   forms     the diary's windows: core, diary, platform, forms
#   profile   the assistant's headless part: core, profile
#   bridge    the browser bridge's headless part: core, bridge
#   assistant the input assistant's windows: core, platform, profile, bridge, assistant
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../src"
declare -A allowed=(
    [core]="core"
    [diary]="core diary"
    [platform]="core platform"
    [forms]="core diary platform forms"
    [profile]="core profile"
    [bridge]="core bridge"
    [assistant]="core platform profile bridge assistant"
)
status=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file line target; do
        dir=${target%%/*}
        [ "$dir" = "$target" ] && continue   # a file of the same folder
        case " ${allowed[$folder]} " in
            *" $dir "*) ;;
            *) echo "src/$file:$line includes $target, above the $folder layer"; status=1 ;;
        esac
    done < <(grep -Hn -o '#include "[^"]*"' "$folder"/* | sed 's/#include "\(.*\)"/\1/')
done
# The headless layers use no widgets, and name no widget or window class either.
headless=(core/* diary/* profile/* bridge/*)
if grep -n -E '#include <Q(Widget|Application|MessageBox|Dialog)|QtWidgets' "${headless[@]}"; then
    echo "widget headers in a headless folder"; status=1
fi
windowClasses=$(grep -h -E '^class \w+[^;]*$' forms/*.h assistant/*.h | sed -E 's/^class (\w+).*/\1/' | sort -u | paste -sd'|')
if grep -n -E "^\s*(class|struct) (Q[A-Z]\w*|${windowClasses});" "${headless[@]}"; then
    echo "a widget or window class declared in a headless folder"; status=1
fi
[ $status -eq 0 ] && echo "layers: every include runs downward"
exit $status
