#!/bin/sh
# Runs a program of the Windows build under Wine as on a Russian Windows, the players' system: the 8-bit
# code page is Windows-1251 and the console's is 866. CTest and the test discovery of the cross build run
# every test program through this script.
#
# WINEPREFIX defaults to a prefix of the project's own (made by the first run, in about ten seconds), so
# that the user's ~/.wine is left alone. Wine's own diagnostics are off unless WINEDEBUG says otherwise.
#
#   tools/wine-run.sh PROGRAM [ARGUMENT...]   runs PROGRAM under Wine
#   tools/wine-run.sh --server OPTION...      runs wineserver for the same prefix (-p keeps it up, -k stops it)
: "${WINEPREFIX:=${XDG_CACHE_HOME:-$HOME/.cache}/tallyscope-wine}"
: "${WINEDEBUG:=-all}"
# No .NET and no browser engine: Wine would offer to download them when it makes the prefix.
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
mkdir -p "$(dirname "$WINEPREFIX")"
# Wine takes the Windows locale from the Unix one, which needs a compiled ru_RU.UTF-8 locale for file names
# beyond ASCII; one of our own is made beside the prefix, leaving the system's locales alone.
LOCPATH=${WINEPREFIX}-locale
if [ ! -d "$LOCPATH/ru_RU.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    scratch=$(mktemp -d "$LOCPATH/.new.XXXXXX")
    localedef -i ru_RU -f UTF-8 "$scratch/ru_RU.UTF-8" 2> /dev/null || true
    mv -T "$scratch/ru_RU.UTF-8" "$LOCPATH/ru_RU.UTF-8" 2> /dev/null || true
    rm -rf "$scratch"
fi
LC_ALL=ru_RU.UTF-8
export LOCPATH LC_ALL
if [ "${1:-}" = --server ]; then
    shift
    exec wineserver "$@"
fi
exec wine "$@"
