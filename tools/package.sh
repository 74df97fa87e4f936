#!/usr/bin/env bash
# Builds the Debian package of the system-wide install and prints its path:
#   tools/package.sh      build/zumicho_VERSION_ARCH.deb
# Install it with `apt install ./build/zumicho_*.deb`; the diary then keeps its data in
# ~/.local/share/zumicho/data.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
{
    install_packages
    BUILD_TARGETS=programs build "$ROOT/build"
} >&2
cd "$ROOT/build"
rm -f zumicho_*.deb
cpack -G DEB >&2
ls "$ROOT"/build/zumicho_*.deb
