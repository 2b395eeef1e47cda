#!/usr/bin/env bash
# Set-up, build, start and test Quorvella on Debian 12.
#   ./quorvella.sh run     install what is missing, build, start the program
#   ./quorvella.sh test    install what is missing, build, run every test
#   ./quorvella.sh bench   install what is missing, build, run the benchmarks
#   ./quorvella.sh package build the program for release and make its Debian package
#   ./quorvella.sh packages  the Debian packages the build needs
set -euo pipefail
cd "$(dirname "$0")"

# The desktop window needs Qt 6 (widgets, network, multimedia) and a font; its tests run
# offscreen or on a virtual X server (xvfb-run, which needs xauth), some with a window manager
# (openbox) and real X input (xdotool, and xprop and xwininfo from x11-utils). The sync test
# keeps one book on two computers through two real Syncthing instances.
PACKAGES=(build-essential cmake ninja-build pkg-config python3
          libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev libicu-dev
          qt6-base-dev qt6-multimedia-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libxcb1-dev
          fonts-liberation fonts-dejavu-extra xvfb xauth
          openbox xdotool x11-utils x11-apps syncthing)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

configure() {   # configure DIR [cmake options...]
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

build() {   # build DIR [cmake options...]
    configure "$@"
    cmake --build "$1"
}

case "${1:-}" in
    packages)
        echo "${PACKAGES[@]}"
        ;;
    run)
        install_packages
        configure build
        cmake --build build --target quorvella   # the program only, not the tests and benchmarks
        shift
        exec build/quorvella "$@"
        ;;
    test)
        install_packages
        build build
        ctest --test-dir build --output-on-failure -j"$(nproc)"
        ;;
    bench)
        install_packages
        build build-bench -DCMAKE_BUILD_TYPE=Release
        for b in build-bench/bench/bench_*; do [ -x "$b" ] && "$b"; done
        ;;
    package)
        install_packages dpkg-dev   # dpkg-shlibdeps finds the package's dependencies
        # Debian's hardening flags (fortified calls, read-only relocations bound at start);
        # only the program is built, as the package holds nothing else.
        flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1" | sed 's/-g //'; }
        configure build-release -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=OFF \
            -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
            -DCMAKE_C_FLAGS="$(flags CPPFLAGS) $(flags CFLAGS)" \
            -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
            -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
        cmake --build build-release --target quorvella
        rm -f build-release/quorvella_*.deb
        (cd build-release && cpack -G DEB)
        ls "$PWD"/build-release/quorvella_*.deb
        ;;
    *)
        echo "usage: $0 run|test|bench|package" >&2
        exit 2
        ;;
esac
