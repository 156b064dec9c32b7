#!/usr/bin/env bash
# Cross-builds the Windows package on Debian 12 with MinGW-w64 and runs the test suites under Wine.
#
#   tools/build-windows.sh [--no-gui | --gui-if-cached] [--no-tests]
#
# Without options: builds Qt base for Windows once (about 35 minutes on two cores) into the cache, then
# the whole project against it, runs the test suites under Wine and writes
# dist/tallyscope-VERSION-win64.zip. --no-gui builds only the core, the command-line tool and their
# tests, with no Qt: a few minutes. --gui-if-cached builds everything when Qt for Windows is already in
# the cache and is --no-gui otherwise. --no-tests leaves the Wine test run out.
#
# Environment:
#   TALLYSCOPE_WIN_CACHE  where Qt for Windows is built and kept, outside the clone so that every clone
#                         and every later run shares it (default /work/cache/tallyscope-win where
#                         /work/cache exists, else ${XDG_CACHE_HOME:-$HOME/.cache}/tallyscope-win)
#   TALLYSCOPE_JOBS       parallel compile jobs (default 2, at most the number of cores)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

gui=1
tests=1
for arg in "$@"; do
    case "$arg" in
    --no-gui) gui=0 ;;
    --gui-if-cached) gui=cached ;;
    --no-tests) tests=0 ;;
    -h | --help)
        sed -n '2,19s/^# \{0,1\}//p' "$0"
        exit 0
        ;;
    *)
        echo "unknown option: $arg (see --help)" >&2
        exit 2
        ;;
    esac
done

if [ -z "${TALLYSCOPE_WIN_CACHE:-}" ]; then
    if [ -d /work/cache ] && [ -w /work/cache ]; then
        TALLYSCOPE_WIN_CACHE=/work/cache/tallyscope-win
    else
        TALLYSCOPE_WIN_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/tallyscope-win
    fi
fi
cache=$TALLYSCOPE_WIN_CACHE
cores=$(nproc)
jobs=${TALLYSCOPE_JOBS:-$((cores < 2 ? cores : 2))}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
triple=x86_64-w64-mingw32

log() { echo "== $*"; }

# --- What the build needs from Debian -------------------------------------------------------------------
install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    log "installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
}

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix libgtest-dev zip)
[ "$tests" -eq 1 ] && packages+=(wine wine64 locales)
[ "$gui" = 1 ] && packages+=(qt6-base-dev qt6-base-dev-tools dpkg-dev perl)
install_missing "${packages[@]}"

# --- Qt base for Windows, built once --------------------------------------------------------------------
# The same Debian version as the host Qt, whose moc, uic and rcc the cross build uses.
qt_debian_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2> /dev/null || true)
qt_prefix=$cache/qt-${qt_debian_version}-mingw64
qt_configure=(
    -G Ninja
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    # Core, Gui, Widgets and Test only.
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_jpeg=OFF
    # Debian's repacked sources lack wintab.h, which tablet support includes.
    -DFEATURE_tabletevent=OFF
    # The MinGW tree has none of these; Qt's bundled copies are built into its own libraries.
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_libpng=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_system_md4c=OFF
)
qt_stamp=$qt_prefix/tallyscope-qt.stamp
qt_stamp_text=$(printf '%s\n' "$qt_debian_version" "${qt_configure[@]}")
if [ "$gui" = cached ]; then
    if [ -n "$qt_debian_version" ] && [ -f "$qt_stamp" ] && [ "$(cat "$qt_stamp")" = "$qt_stamp_text" ]; then
        gui=1
    else
        log "no Qt for Windows in $cache: building without the desktop program"
        gui=0
    fi
fi

build_qt() {
    if [ -f "$qt_stamp" ] && [ "$(cat "$qt_stamp")" = "$qt_stamp_text" ]; then
        log "Qt for Windows: reusing $qt_prefix"
        return 0
    fi
    local source=$cache/src work=$cache/qt-build
    log "Qt for Windows: building $qt_debian_version into $qt_prefix (once; about 35 minutes on two cores)"
    mkdir -p "$source"
    if [ ! -d "$source/qt6-base-$(echo "$qt_debian_version" | sed 's/^[0-9]*://; s/-[^-]*$//')" ]; then
        if ! apt-get source --print-uris "qt6-base=$qt_debian_version" > /dev/null 2>&1; then
            log "adding a deb-src entry for bookworm"
            local as_root=()
            [ "$(id -u)" -eq 0 ] || as_root=(sudo)
            printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" \
                "Suites: bookworm bookworm-updates" "Components: main" \
                "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
                "${as_root[@]}" tee /etc/apt/sources.list.d/tallyscope-deb-src.sources > /dev/null
            "${as_root[@]}" apt-get update -qq
        fi
        (cd "$source" && apt-get source -qq "qt6-base=$qt_debian_version")
    fi
    local tree
    tree=$(find "$source" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
    [ -f "$tree/CMakeLists.txt" ] || { echo "no Qt sources in $source" >&2; exit 1; }
    # Two questions of Qt 6.4.2's Windows platform plugin that this build's switches answer otherwise than
    # the plugin expects: it asks only for dynamic OpenGL, which stays on, where it uses OpenGL, which is
    # off; and only for DirectWrite 3 where it uses the DirectWrite font database, which Qt Gui builds
    # only together with Direct2D, which is off. Each question has to be both.
    local plugin=$tree/src/plugins/platforms/windows
    sed -i '/^static inline bool isSoftwareGl()/,/^}/ s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(opengl) \&\& QT_CONFIG(dynamicgl)/' \
        "$plugin/qwindowswindow.cpp"
    sed -i '/^#if QT_CONFIG(directwrite3)$/{N;/FontDatabaseDirectWrite/s/^#if QT_CONFIG(directwrite3)/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/}' \
        "$plugin/qwindowsintegration.cpp"
    rm -rf "$work" "$qt_prefix"
    nice -n 10 cmake -S "$tree" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" "${qt_configure[@]}" > "$cache/qt-configure.log"
    nice -n 10 cmake --build "$work" -j"$jobs"
    nice -n 10 cmake --install "$work" > /dev/null
    echo "$qt_stamp_text" > "$qt_stamp"
    rm -rf "$work"
}

if [ "$gui" -eq 1 ]; then
    time_qt=$SECONDS
    build_qt
    log "Qt for Windows: $((SECONDS - time_qt)) s"
fi

# --- The project ----------------------------------------------------------------------------------------
version=$(sed -n 's/^project(Tallyscope VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
configure=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DTALLYSCOPE_BUILD_BENCH=OFF)
if [ "$gui" -eq 1 ]; then
    build=build/win64
    # Qt for Windows is found in its prefix; moc, uic and rcc are the host's.
    configure+=(-DTALLYSCOPE_BUILD_GUI=ON -DCMAKE_FIND_ROOT_PATH="$qt_prefix" -DCMAKE_PREFIX_PATH="$qt_prefix"
                -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
else
    build=build/win64-core
    configure+=(-DTALLYSCOPE_BUILD_GUI=OFF)
fi
if [ "$tests" -eq 1 ]; then
    # The build lists the tests of each test program under Wine and the tests start hundreds of Wine
    # processes. One Wine server, kept up from the start to the end, spares each its own server start and
    # stop, and the race of a program starting while the last one's server shuts down: such a program
    # ends at once without a word, and its test fails.
    # A server already up for the prefix (another Wine program still running) is used as it is.
    tools/wine-run.sh --server -p 2> /dev/null || true
    trap 'tools/wine-run.sh --server -k 2> /dev/null || true' EXIT
    tools/wine-run.sh wineboot -u
fi
time_project=$SECONDS
log "building the project in $build"
cmake -S . -B "$build" "${configure[@]}" > /dev/null
nice -n 10 cmake --build "$build" -j"$jobs"
log "project: $((SECONDS - time_project)) s"

if [ "$tests" -eq 1 ]; then
    time_tests=$SECONDS
    log "running the test suites under Wine"
    # The desktop program's tests find the Qt libraries and the MinGW runtime on Wine's search path.
    runtime_dirs=("$(dirname "$(${triple}-g++-posix -print-file-name=libstdc++-6.dll)")" "/usr/$triple/lib")
    [ "$gui" -eq 1 ] && runtime_dirs+=("$qt_prefix/bin")
    # A test that fails is run once more, as Wine now and then starts no program at all: a fault of the
    # program fails both times, and the first failure's output stays in the log.
    WINEPATH=$(IFS=';' && echo "${runtime_dirs[*]}") ctest --test-dir "$build" --output-on-failure -j"$jobs" \
        --repeat until-pass:2
    log "Wine tests: $((SECONDS - time_tests)) s"
fi

[ "$gui" -eq 1 ] || exit 0

# --- The package ----------------------------------------------------------------------------------------
name=tallyscope-$version-win64
stage=$build/package/$name
rm -rf "$build/package"
mkdir -p "$stage/platforms" "$stage/samples" dist
cp "$build/ui/tallyscope-gui.exe" "$build/cli/tallyscope.exe" "$stage/"
for dll in Qt6Core Qt6Gui Qt6Widgets; do cp "$qt_prefix/bin/$dll.dll" "$stage/"; done
cp "$qt_prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do cp "$(${triple}-g++-posix -print-file-name=$dll)" "$stage/"; done
cp "/usr/$triple/lib/libwinpthread-1.dll" "$stage/"
find "$stage" -name '*.exe' -o -name '*.dll' | xargs ${triple}-strip --strip-unneeded
cp resources/dots.txt resources/skills.txt "$stage/"
cp resources/samples/Chat.log "$stage/samples/"
# Notepad reads UTF-8 with a byte-order mark on every Windows; CR LF line ends.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' resources/windows/README.txt; } > "$stage/README.txt"

# Every DLL that the programs import must be in the package or in Windows itself (a system DLL has an
# import library in the MinGW tree; the api-ms-win-* sets are resolved by the Windows loader).
missing=$(for file in "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll; do
    ${triple}-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'
done | sort -u | while read -r dll; do
    lower=$(echo "$dll" | tr 'A-Z' 'a-z')
    case "$lower" in api-ms-win-* | ext-ms-win-*) continue ;; esac
    [ -e "$stage/$dll" ] || [ -e "$stage/$lower" ] || [ -e "/usr/$triple/lib/lib${lower%.dll}.a" ] || echo "$dll"
done)
[ -z "$missing" ] || { echo "DLLs neither packaged nor part of Windows: $missing" >&2; exit 1; }

rm -f "dist/$name.zip"
(cd "$build/package" && zip -qr -X "$root/dist/$name.zip" "$name")
log "package: dist/$name.zip ($(du -k "dist/$name.zip" | cut -f1) KiB)"
