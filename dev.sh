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
          wine64 wine32:i386 fonts-wine xvfb x11-utils imagemagick zip faketime libfaketime libfaketime:i386
          locales)
# Wine's 64-bit loader, without address randomisation: its heap could
# otherwise land where Wine maps the shared user data, and a start fails
# unseen about once in several thousand (see CMakeLists.txt).
wine=(setarch -R /usr/lib/wine/wine64)
wine32=/usr/lib/wine/wine   # and its 32-bit one, for the program that ships
qemu32=/usr/bin/qemu-i386-static  # (qemu-user-static) where the kernel runs no 32-bit code

# Wine takes the code page from the locale's name alone, here the Czech
# Windows-1250.  Given to Wine's commands only: the host need not have that
# locale, and a bash started with it would say so.
czech=(env LC_ALL=cs_CZ.UTF-8)

# Everything made from one commit carries that commit's time, not the time
# of the build: the programs' headers, the build stamp, the zips.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=
    [ -n "$SOURCE_DATE_EPOCH" ] || SOURCE_DATE_EPOCH=$(date +%s)
fi
export SOURCE_DATE_EPOCH

log() { printf '== %s\n' "$*"; }

# Wine names Unix files through the locale's character set: with no UTF-8
# locale of the name it is given, a file name beyond ASCII (the tests' folder
# "Nástroje") cannot be made at all.  localedef comes with the package locales.
czech_locale() {
    locale -a 2>/dev/null | grep -qixE 'cs_CZ\.utf-?8' && return 0
    log "generating the locale cs_CZ.UTF-8"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" localedef -i cs_CZ -f UTF-8 cs_CZ.UTF-8
}

install_missing() {  # install_missing [MORE-PACKAGES...]
    local missing=()
    for p in "${packages[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && { czech_locale; return; }
    log "installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    # The 32-bit Wine comes from the i386 architecture.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386 || return 1
    fi
    "${sudo[@]}" apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null && czech_locale
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

# --- 32-bit code ---------------------------------------------------------------
# Hosts of one kind of machine differ: on some the kernel runs 32-bit x86
# programs, on others it refuses every one.  Where it refuses, the program
# that ships gets a short smoke run under user-mode emulation instead of the
# whole suite, which would take hours there.
#
# The question and the emulation both go through a user and mount namespace
# with a binfmt_misc of its own (Linux 6.7 and later): there no interpreter
# registered on the machine stands in the way, and the i386 entry that the
# emulation registers lives and ends with the namespace, also when the run is
# interrupted.  Nothing is ever registered on the machine itself.
binfmt_ns() {  # binfmt_ns NAME [ENTRY] [UNSHARE-OPTIONS...]: sets the array NAME
    local -n ns=$1
    ns=(unshare --user --map-user="$(id -u)" --map-group="$(id -g)" --keep-caps --mount "${@:3}"
        bash -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || exit 125
                 [ -z "$0" ] || printf %s "$0" >/proc/sys/fs/binfmt_misc/register || exit 125
                 exec "$@"' "${2:-}")
}
# No entry at all: what runs there runs as the kernel itself runs it.
binfmt_ns plain_ns
# Only the i386 entry, for qemu; with a process namespace of its own, so that
# everything the emulated run started ends with it.
binfmt_ns emulated_ns ':halvexor-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu32"':F' \
    --pid --fork --mount-proc --kill-child

# The commands that start 32-bit programs natively run behind x32: the plain
# namespace where this kernel has one, so that an emulator entry left
# registered on the machine cannot turn the whole suite into an emulated one.
x32=()
native_answer=
# Whether this kernel runs 32-bit programs itself.  HALVEXOR_NATIVE_32=1 or 0
# takes the answer as given, to try the other kind of host's path.
native_32() {
    if [ -z "$native_answer" ]; then
        "${plain_ns[@]}" true 2>/dev/null && x32=("${plain_ns[@]}")
        case "${HALVEXOR_NATIVE_32:-}" in
            1) native_answer=yes ;;
            0) native_answer=no ;;
            *) native_answer=no
               timeout 30 "${x32[@]}" "$wine32" --version >/dev/null 2>&1 && native_answer=yes ;;
        esac
    fi
    [ "$native_answer" = yes ]
}

# Wine's own fonts with Windows' metrics (Tahoma, MS Sans Serif, System,
# Marlett for the caption buttons' glyphs, ...).  Debian's Wine does not load
# them from where the package puts them, only from a prefix's Fonts folder;
# without them every face is a wider stand-in.
wine_fonts=/usr/share/wine/fonts
fonts_fact() { (cd "$wine_fonts" 2>/dev/null && ls | md5sum | cut -c1-16); }

stop_server() {  # the server of $WINEPREFIX, if one runs, and everything in it
    timeout 20 /usr/lib/wine/wineserver -k >/dev/null 2>&1
    timeout 20 /usr/lib/wine/wineserver -w >/dev/null 2>&1
}
start_server() {  # a server of $WINEPREFIX that stays until stop_server
    timeout 10 /usr/lib/wine/wineserver -p && return 0
    echo "cannot start a persistent wineserver for $WINEPREFIX" >&2
    return 1
}

# Wine in a prefix of the build folder's own, never the user's; no window
# manager's frames needed.  A prefix made while no 32-bit code could run has
# no usable 32-bit side, so it keeps whether 32-bit code ran when it was made,
# and is made again when that differs from what runs now; likewise it keeps
# which of Wine's fonts it was given, and an older one without them is made
# again.
ensure_prefix() {  # ensure_prefix DIR yes|no
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
    # One persistent server for the whole run, so that every program start is
    # quick; a server that would quit when idle makes the next start slow and
    # can make a CreateProcess fail while it goes down.
    stop_server
    local fonts
    fonts=$(fonts_fact)
    if [ -f "$WINEPREFIX/system.reg" ] && [ "$(cat "$WINEPREFIX/halvexor-32bit" 2>/dev/null)" != "$2" ]; then
        log "making the Wine prefix $WINEPREFIX again (32-bit programs run now: $2)"
        rm -rf "$WINEPREFIX"
    elif [ -f "$WINEPREFIX/system.reg" ] && [ "$(cat "$WINEPREFIX/halvexor-fonts" 2>/dev/null)" != "$fonts" ]; then
        log "making the Wine prefix $WINEPREFIX again (with Wine's fonts)"
        rm -rf "$WINEPREFIX"
    fi
    # The server lives in the prefix's folder: it cannot start before the
    # folder is there, and a new prefix would otherwise be made, and every
    # test then run, by servers that Wine starts on its own, which quit as
    # soon as no program runs (Debian's wineserver starts them with "-p0"),
    # and the first of which could be started by a test under libfaketime.
    mkdir -p "$WINEPREFIX"
    start_server || return 1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "creating Wine prefix $WINEPREFIX"
        timeout 300 "${x32[@]}" "${czech[@]}" "${wine[@]}" wineboot -i >/dev/null 2>&1
        timeout 60 "${czech[@]}" "${wine[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
            >/dev/null 2>&1
        echo "$2" >"$WINEPREFIX/halvexor-32bit"
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" &&
            cp -f "$wine_fonts"/* "$WINEPREFIX/drive_c/windows/Fonts/" &&
            echo "$fonts" >"$WINEPREFIX/halvexor-fonts"
        # What Wine started while the prefix was made (its desktop among
        # them) would run on with the settings from before the lines above,
        # and the registry would reach the disk only later: start again.
        stop_server
        start_server || return 1
    fi
    # Start Wine's own services now, detached from any pipe: the first program
    # would otherwise start them with its output inherited, and whoever reads
    # that output (CTest listing the tests) would wait until the server ends.
    timeout 60 "${x32[@]}" "${czech[@]}" "${wine[@]}" wineboot >/dev/null 2>&1 </dev/null
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
    local out="build/$preset.ctest.log" via=()
    [ "$preset" = win32-tests ] && via=("${x32[@]}")
    [[ $preset == *-tests ]] && via+=("${czech[@]}")
    "${via[@]}" ctest --preset "$preset" --timeout 120 "$@" 2>&1 | tee "$out" |
        grep -E '(Failed|\*\*\*|Not Run|tests passed)'
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

# Where the kernel runs no 32-bit code: the shipped 32-bit program, under
# emulation, through what differs by architecture (start-up, its window and
# texts, closing, a suspension through powrprof.dll loaded by path), driven by
# the x86_64 end-to-end tests ("Product.*").  A few minutes, the prefix
# included; it runs in the emulated namespace as "dev.sh smoke-inside".
run_i686_smoke() {
    log "test i686 smoke, emulated"
    local out=build/i686-smoke.log ok bad
    if [ ! -x build/win64-tests/e2e_tests.exe ]; then
        echo "i686 smoke: not run, it needs the x86_64 test build"; failed=$((failed + 1)); return
    fi
    install_missing qemu-user-static || { failed=$((failed + 1)); return; }
    # (Wine's console ends its lines with CR LF.)
    timeout 900 "${emulated_ns[@]}" "$root/dev.sh" smoke-inside 2>&1 | tr -d '\r' >"$out"
    if [ "${PIPESTATUS[0]}" -eq 125 ]; then
        echo "i686 smoke: not run, this kernel ($(uname -r)) gives no namespace a binfmt_misc of its own (Linux 6.7 and later do)"
        failed=$((failed + 1)); return
    fi
    grep -E '^\[ *(OK|FAILED) *\] .*\([0-9]+ ms\)$' "$out"
    ok=$(grep -cE '^\[ +OK \] .*\([0-9]+ ms\)$' "$out")
    bad=$(grep -cE '^\[  FAILED  \] .*\([0-9]+ ms\)$' "$out")
    if [ $((ok + bad)) -eq 0 ]; then
        echo "i686 smoke gave no result (see $out)"; failed=$((failed + 1)); return
    fi
    passed=$((passed + ok))
    failed=$((failed + bad))
}

cmd_smoke_inside() {
    ensure_prefix "$root/build/wineprefix-i686-emulated" yes || exit 1
    HALVEXOR_PROGRAM_DIR="Z:$root/build/win32" HALVEXOR_TEST_PATIENCE=10 \
        WINEDLLOVERRIDES="$WINEDLLOVERRIDES;powrprof=n,b" \
        "${czech[@]}" "${wine[@]}" build/win64-tests/e2e_tests.exe --gtest_filter='Product.*'
}

layout() { tools/package.sh layout "$@"; }  # layout BUILD-DIR DEST

# A picture of the running window, as the README shows it.
# Wine's desktop is its 64-bit explorer, which starts a 32-bit program too.
screenshot() {  # screenshot BUILD-DIR
    local dir=build/screenshot
    layout "$1" "$dir" && cp "$1/halvexor_probe.exe" "$dir/"
    (cd "$dir" && setsid -f timeout 20 "${x32[@]}" "${czech[@]}" "${wine[@]}" explorer /desktop=shot,700x540 \
        halvexor_probe.exe >/dev/null 2>&1 </dev/null)
    # Wine's desktop comes up first, the window and its balloon a little
    # later; a new prefix's first desktop takes longer.
    local shot=build/screenshot.png i
    for i in $(seq 60); do
        sleep 0.5
        import -display "$DISPLAY" -window root -crop 420x350+270+170 +repage "$shot" 2>/dev/null &&
            [ "$(convert "$shot" -format '%[fx:mean>0]' info: 2>/dev/null)" = 1 ] && break
    done
    sleep 4
    import -display "$DISPLAY" -window root -crop 420x350+270+170 +repage "$shot" 2>/dev/null &&
        log "screenshot: $shot"
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
    [ ${#built[@]} -gt 0 ] || { echo "$passed passed, $failed failed"; exit 1; }
    local native=no shot=build/win64
    native_32 && native=yes
    if ! ensure_display || ! ensure_prefix "$root/build/wineprefix-test" "$native"; then
        echo "Wine or the display could not be set up"; echo "$passed passed, $((failed + 1)) failed"; exit 1
    fi
    if [ "$native" = no ] && [[ " ${built[*]} " == *" win32 "* ]]; then
        echo "i686: this kernel runs no 32-bit programs: instead of the whole suite, a smoke run of the product under emulation"
    fi
    for preset in "${built[@]}"; do
        if [ "$preset" = win32 ] && [ "$native" = yes ]; then
            run_ctest win32-tests -j2
            shot=build/win32
        elif [ "$preset" = win64 ]; then
            run_ctest win64-tests -j2
        fi
    done
    screenshot "$shot"
    if [ "$native" = no ] && [[ " ${built[*]} " == *" win32 "* ]]; then
        run_i686_smoke
    fi
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

cmd_run() {
    install_missing || exit 1
    mkdir -p build
    # The program that ships, where this machine runs 32-bit programs.
    local preset=win32 loader=() native=yes
    if native_32; then
        loader=("${x32[@]}" "${czech[@]}" "$wine32")
    else
        preset=win64 loader=("${czech[@]}" "${wine[@]}") native=no
        log "this kernel runs no 32-bit programs: starting the x86_64 build"
    fi
    build "$preset" || exit 1
    layout "build/$preset" build/app
    ensure_display || exit 1
    ensure_prefix "$root/build/wineprefix-run" "$native" || exit 1
    log "starting build/app/halvexor.exe (display $DISPLAY)"
    (cd build/app && "${loader[@]}" halvexor.exe "$@")
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
    smoke-inside) cmd_smoke_inside ;;
    *) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
esac
