#!/usr/bin/env bash
# One entry point for setting up, building, testing and running the program.
#   scripts/kasa.sh run [program arguments...]   install what is missing, build, start the program
#   scripts/kasa.sh test                         install what is missing, build, run every test
#   scripts/kasa.sh build                        install what is missing and build
#   scripts/kasa.sh forms OUTDIR                 every graphic form of a fresh demo tree as PDF and PNG
#   scripts/kasa.sh package                      the Debian package build/kasa_VERSION_ARCH.deb
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${KASA_BUILD_DIR:-$top/build}"

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libsqlite3-dev sqlite3 pxlib-dev
          postgresql postgresql-contrib libpq-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xauth fonts-liberation fonts-dejavu-core
          qt6-translations-l10n poppler-utils
          openbox xdotool imagemagick desktop-file-utils dpkg-dev fakeroot
          libxlsxwriter-dev unzip)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    install_missing
    # A compiler cache, where the machine has one, makes rebuilds in several checkouts cheap.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
    cmake --build "$build" -j"$(nproc)"
}

with_display() {
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        xvfb-run -a "$@"
    else
        "$@"
    fi
}

cmd="${1:-run}"
shift || true
case "$cmd" in
    build) build ;;
    test)
        build
        cd "$build"
        ctest --output-on-failure -j"$(nproc)" --timeout 900
        ;;
    run)
        build
        data="${KASA_DATA:-$top/build/data}"
        # A folder without the parameter table gets a fresh installation with the demo firm.
        if [ ! -e "$data/KASA.DB" ]; then
            "$build/kasa" --init "$data" --demo
        fi
        cd "$data"
        with_display "$build/kasa" "$@"
        ;;
    forms)
        [ $# -ge 1 ] || { echo "usage: $0 forms OUTDIR" >&2; exit 2; }
        build
        out=$(mkdir -p "$1" && cd "$1" && pwd)
        data="$out/dane"
        rm -rf "$data"
        "$build/kasa" --init "$data" --demo >/dev/null
        (cd "$data" && QT_QPA_PLATFORM=offscreen "$build/kasa" --forms "$out")
        for pdf in "$out"/*.pdf; do
            pdftoppm -r 90 -png "$pdf" "${pdf%.pdf}"
        done
        ls "$out"
        ;;
    package)
        build
        (cd "$build" && cpack -G DEB)
        deb=$(ls "$build"/kasa_*.deb)
        if command -v lintian >/dev/null; then
            lintian --fail-on error "$deb"
        fi
        echo "$deb"
        ;;
    *) echo "usage: $0 run|test|build|forms|package" >&2; exit 2 ;;
esac
