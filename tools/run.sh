#!/usr/bin/env bash
# Installs what is missing, builds, and starts the diary from build/bin.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build "$ROOT/build"
exec "$ROOT/build/bin/zumicho" "$@"
