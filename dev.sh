#!/usr/bin/env bash
# Halvexor's one entry for developers on Debian 12:
#   ./dev.sh run      install what is missing, build, lay out the program with
#                     its data folder in build/app and start it under Wine
#   ./dev.sh test     install what is missing, build every build and run
#                     every test; ends with "N passed, N failed"
#   ./dev.sh package  the release zips in dist/, with the programs the tests
#                     ran; the same commit gives the same bytes
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"

packages=(cmake make g++ python3 googletest libgtest-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686
          wine64 wine32:i386 xvfb x11-utils imagemagick zip faketime libfaketime libfaketime:i386)
wine=/usr/lib/wine/wine64   # Wine's 64-bit loader
wine32=/usr/lib/wine/wine   # and its 32-bit one, for the program that ships

# Everything made from one commit carries that commit's time, not the time
# of the build: the programs' headers, the build stamp, the zips.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=
    [ -n "$SOURCE_DATE_EPOCH" ] || SOURCE_DATE_EPOCH=$(date +%s)
fi
export SOURCE_DATE_EPOCH

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
    # The 32-bit Wine comes from the i386 architecture.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386 || return 1
    fi
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

# Whether this machine runs 32-bit Windows programs (32-bit Wine on a kernel
# that runs 32-bit code).
can_run_32() {
    [ -x "$wine32" ] && timeout 30 "$wine32" --version >/dev/null 2>&1
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

# (Without the Czech locale, which the host need not have: bash would say so.)
layout() { LC_ALL=C tools/package.sh layout "$@"; }  # layout BUILD-DIR DEST

# A picture of the running window, as the README shows it.
# Wine's desktop is its 64-bit explorer, which starts a 32-bit program too.
screenshot() {  # screenshot BUILD-DIR
    local dir=build/screenshot
    layout "$1" "$dir" && cp "$1/halvexor_probe.exe" "$dir/"
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
    # The platform-free core, natively and under the sanitizers.
    for preset in native native-sanitize; do
        if build "$preset"; then run_ctest "$preset" -j2; else echo "build $preset FAILED"; failed=$((failed + 1)); fi
    done
    # Each architecture: its programs (with their static checks), then the
    # Windows-side tests of those very files, run under Wine.
    local built=()
    for preset in win32 win64; do
        if ! build "$preset"; then
            echo "build $preset FAILED"; failed=$((failed + 1))
        elif ! build "$preset-tests"; then
            echo "build $preset-tests FAILED"; failed=$((failed + 1))
        else
            run_ctest "$preset" -j2
            built+=("$preset")
        fi
    done
    if [ ${#built[@]} -gt 0 ]; then
        if ensure_display && ensure_prefix "$root/build/wineprefix-test"; then
            for preset in "${built[@]}"; do
                if [ "$preset" = win32 ] && ! can_run_32; then
                    echo "i686: not run, this machine cannot run 32-bit programs (needs wine32:i386)"
                    failed=$((failed + 1))
                    continue
                fi
                run_ctest "$preset-tests" -j2
            done
            if [[ " ${built[*]} " == *" win32 "* ]] && can_run_32; then
                screenshot build/win32
            else
                screenshot build/win64
            fi
        else
            echo "Wine or the display could not be set up"; failed=$((failed + 1))
        fi
    fi
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

cmd_run() {
    install_missing || exit 1
    mkdir -p build
    # The program that ships, where this machine runs 32-bit programs.
    local preset=win32 loader=$wine32
    can_run_32 || { preset=win64 loader=$wine; log "this machine cannot run 32-bit programs: starting the x86_64 build"; }
    build "$preset" || exit 1
    layout "build/$preset" build/app
    ensure_display || exit 1
    ensure_prefix "$root/build/wineprefix-run"
    log "starting build/app/halvexor.exe (display $DISPLAY)"
    (cd build/app && "$loader" halvexor.exe "$@")
}

cmd_package() {
    install_missing || exit 1
    mkdir -p build dist
    local preset arch
    for preset in win32 win64; do
        build "$preset" || exit 1
        arch=$([ "$preset" = win32 ] && echo x86 || echo x64)
        tools/package.sh zip "build/$preset" "dist/halvexor-1.22a-$arch.zip" || exit 1
        log "dist/halvexor-1.22a-$arch.zip $(sha256sum "dist/halvexor-1.22a-$arch.zip" | cut -c1-16)"
    done
}

case "${1:-}" in
    run) shift; cmd_run "$@" ;;
    test) cmd_test ;;
    package) cmd_package ;;
    *) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
esac
