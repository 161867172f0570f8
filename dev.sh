#!/usr/bin/env bash
# Halvexor's one entry for developers on Debian 12:
#   ./dev.sh run      install what is missing, build, lay out the program with
#                     its data folder in build/app and start it under Wine
#   ./dev.sh test     install what is missing, build all three builds and run
#                     every test; ends with "N passed, N failed"
#   ./dev.sh package  the release zips in dist/
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"

packages=(cmake make g++ googletest libgtest-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686
          wine64 xvfb x11-utils imagemagick zip)
wine=/usr/lib/wine/wine64

log() { printf '== %s\n' "$*"; }

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
}

build() {  # build PRESET
    log "build $1"
    cmake --preset "$1" >"build/$1.configure.log" 2>&1 ||
        { cat "build/$1.configure.log"; return 1; }
    cmake --build --preset "$1" -j"$(nproc)" 2>&1 | grep -vE '^\[ *[0-9]+%\]' || true
    [ "${PIPESTATUS[0]}" -eq 0 ]
}

# A display for the program's windows: the user's own, or a private Xvfb.
xvfb_pid=
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && { ! command -v xdpyinfo >/dev/null || xdpyinfo >/dev/null 2>&1; }; then
        return 0
    fi
    local n
    for n in $(seq 91 99); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && return 0
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null
    done
    echo "cannot start Xvfb" >&2
    return 1
}

# Wine in a prefix of the build folder's own, never the user's.  Czech code
# page as on a Czech Windows; no window manager's frames needed.
ensure_prefix() {  # ensure_prefix DIR
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
    # Wine takes the code page from the locale's name alone; the host need not
    # have that locale, so bash's note that it cannot switch to it is dropped.
    { export LC_ALL=cs_CZ.UTF-8; } 2>/dev/null
    # One persistent server for the whole run, so that every program start is
    # quick; a server that would quit when idle makes the next start slow and
    # can make a CreateProcess fail while it goes down.
    timeout 20 /usr/lib/wine/wineserver -k >/dev/null 2>&1
    timeout 20 /usr/lib/wine/wineserver -w >/dev/null 2>&1
    timeout 10 /usr/lib/wine/wineserver -p >/dev/null 2>&1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "creating Wine prefix $WINEPREFIX"
        timeout 180 "$wine" wineboot -i >/dev/null 2>&1
        timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    fi
    # Start Wine's own services now, detached from any pipe: the first program
    # would otherwise start them with its output inherited, and whoever reads
    # that output (CTest listing the tests) would wait until the server ends.
    timeout 60 "$wine" wineboot >/dev/null 2>&1 </dev/null
}

cleanup() {
    [ -n "${WINEPREFIX:-}" ] && timeout 20 /usr/lib/wine/wineserver -k >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    return 0
}
trap cleanup EXIT

passed=0 failed=0
run_ctest() {  # run_ctest PRESET [ctest args]
    local preset=$1; shift
    log "test $preset"
    local out="build/$preset.ctest.log"
    ctest --preset "$preset" --timeout 120 "$@" 2>&1 | tee "$out" | grep -E '(Failed|\*\*\*|Not Run|tests passed)' 
    local line total fails
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n 1)
    if [ -z "$line" ]; then
        echo "ctest of $preset gave no result"; failed=$((failed + 1)); return
    fi
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
}

layout() {  # layout BUILD-DIR DEST
    rm -rf "$2" && mkdir -p "$2/data"
    cp "$1/halvexor.exe" "$2/"
    cp data/*.bf data/readme.html "$2/data/"
    date -u +%Y%m%d >"$2/data/bld_rm.tf"
}

# A picture of the running window, as the README shows it.
screenshot() {
    local dir=build/screenshot
    layout build/win64 "$dir" && cp build/win64/halvexor_probe.exe "$dir/"
    (cd "$dir" && setsid -f timeout 20 "$wine" explorer /desktop=shot,700x540 halvexor_probe.exe \
        >/dev/null 2>&1 </dev/null)
    sleep 6
    import -display "$DISPLAY" -window root -crop 420x350+270+170 +repage build/screenshot.png 2>/dev/null &&
        log "screenshot: build/screenshot.png"
    pkill -f 'explorer /desktop=shot' >/dev/null 2>&1
    sleep 1
    return 0
}

cmd_test() {
    install_missing || exit 1
    mkdir -p build
    local preset
    for preset in native native-sanitize win32 win64; do
        if build "$preset"; then
            case $preset in
                win64) ensure_display && ensure_prefix "$root/build/win64/wineprefix"
                       run_ctest win64 -j2
                       screenshot ;;
                *) run_ctest "$preset" -j2 ;;
            esac
        else
            echo "build $preset FAILED"; failed=$((failed + 1))
        fi
    done
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

cmd_run() {
    install_missing || exit 1
    mkdir -p build
    build win64 || exit 1
    layout build/win64 build/app
    ensure_display || exit 1
    ensure_prefix "$root/build/wineprefix-run"
    log "starting build/app/halvexor.exe (display $DISPLAY)"
    (cd build/app && "$wine" halvexor.exe "$@")
}

cmd_package() {
    install_missing || exit 1
    mkdir -p build dist
    local preset arch
    for preset in win32 win64; do
        build "$preset" || exit 1
        arch=$([ "$preset" = win32 ] && echo x86 || echo x64)
        layout "build/$preset" "build/package-$arch/Halvexor"
        rm -f "dist/halvexor-1.22a-$arch.zip"
        (cd "build/package-$arch" && zip -qr "$root/dist/halvexor-1.22a-$arch.zip" Halvexor)
        log "dist/halvexor-1.22a-$arch.zip"
    done
}

case "${1:-}" in
    run) shift; cmd_run "$@" ;;
    test) cmd_test ;;
    package) cmd_package ;;
    *) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
esac
