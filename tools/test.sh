#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   tools/test.sh             the normal build in build/
#   tools/test.sh --sanitize  the same tests with AddressSanitizer and UBSan in build-asan/
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
if [ "${1:-}" = "--sanitize" ]; then
    dir="$ROOT/build-asan"
    build "$dir" -DZUMI_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    dir="$ROOT/build"
    build "$dir"
fi
cd "$dir"
ctest --output-on-failure --timeout 300
