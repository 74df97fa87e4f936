#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format makes of it.
#   bash tools/check-format.sh        lists the files and fails
#   bash tools/check-format.sh --fix  formats them in place
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
format=clang-format-14
if ! command -v "$format" >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq clang-format-14
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    "$format" -i "${files[@]}"
    exit 0
fi
status=0
for f in "${files[@]}"; do
    if ! "$format" --dry-run --Werror "$f" >/dev/null 2>&1; then
        echo "not formatted: $f (bash tools/check-format.sh --fix)"
        status=1
    fi
done
exit $status
