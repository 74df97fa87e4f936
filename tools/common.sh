# Shared by run.sh and test.sh: installs what the build needs, then configures and builds.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6svg6 libgl-dev
    qt6-charts-dev libqt6opengl6-dev
    libx11-dev libxtst-dev libxdo-dev
    xvfb xauth xdotool x11-utils
    fonts-ipafont-gothic fonts-ipafont-mincho
    poppler-utils cups printer-driver-cups-pdf xdg-utils
    libicu-dev openbox libsodium-dev
    python3-icalendar dbus-daemon
    chromium firefox-esr weston qt6-wayland
    desktop-file-utils appstream qt6-translations-l10n dpkg-dev
)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# build DIR [extra cmake arguments...]; builds the targets named in BUILD_TARGETS, else all.
build() {
    local dir="$1"; shift
    # ccache keeps rebuilds of an unchanged file cheap across build folders and clones.
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$ROOT")}" CCACHE_NOHASHDIR=true \
        CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUMI_WERROR=ON \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
    cmake --build "$dir" --parallel "$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
}
