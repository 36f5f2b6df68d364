#!/usr/bin/env bash
# Checks the tree that `cmake --install` makes, installed into a scratch
# DESTDIR. One step per CTest test, so that a missing validator skips only its
# own check (exit 77).
# usage: install_test.sh STEP BUILD_DIR DESTDIR HAS_APP
#   STEP: install | files | desktop | metainfo | manual
set -euo pipefail

step="$1" build_dir="$2" destdir="$3" has_app="$4"
prefix="$destdir/usr"
app_id=io.github.morvane.Morvane

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }
need_file() { [ -f "$prefix/$1" ] || fail "missing $1"; }

case "$step" in
  install)
    rm -rf "$destdir"
    DESTDIR="$destdir" "${CMAKE_COMMAND:-cmake}" --install "$build_dir" --prefix /usr >/dev/null
    ;;

  files)
    need_file bin/morvane-convert
    [ -x "$prefix/bin/morvane-convert" ] || fail "bin/morvane-convert is not executable"
    out="$(printf 'A' | "$prefix/bin/morvane-convert" ASCII)"
    [ "$out" = '\u0041' ] || fail "installed morvane-convert printed '$out'"
    need_file share/man/man1/morvane-convert.1.gz
    need_file share/doc/morvane/copyright
    if [ "$has_app" = 1 ]; then
      [ -x "$prefix/bin/morvane" ] || fail "missing executable bin/morvane"
      need_file share/applications/morvane.desktop
      need_file share/metainfo/$app_id.metainfo.xml
      need_file share/icons/hicolor/scalable/apps/morvane.svg
      need_file share/man/man1/morvane.1.gz
      # The entry must name what is installed.
      grep -qx 'Exec=morvane' "$prefix/share/applications/morvane.desktop" || fail "Exec is not morvane"
      grep -qx 'Icon=morvane' "$prefix/share/applications/morvane.desktop" || fail "Icon is not morvane"
      grep -q '<launchable type="desktop-id">morvane.desktop</launchable>' \
        "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "metainfo does not launch morvane.desktop"
    fi
    ;;

  desktop)
    [ "$has_app" = 1 ] || skip "no window program in this build"
    command -v desktop-file-validate >/dev/null || skip "desktop-file-validate is not installed (desktop-file-utils)"
    out="$(desktop-file-validate "$prefix/share/applications/morvane.desktop" 2>&1)" || fail "$out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    ;;

  metainfo)
    [ "$has_app" = 1 ] || skip "no window program in this build"
    command -v appstreamcli >/dev/null || skip "appstreamcli is not installed (appstream)"
    appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" ||
      fail "appstreamcli validate"
    ;;

  manual)
    pages=("$prefix"/share/man/man1/*.1.gz)
    [ -e "${pages[0]}" ] || fail "no manual pages installed"
    for page in "${pages[@]}"; do
      if command -v man >/dev/null; then
        text="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>"$destdir.man.err")"
      elif command -v groff >/dev/null; then
        text="$(gzip -dc "$page" | groff -man -Tutf8 -ww 2>"$destdir.man.err")"
      else
        skip "neither man nor groff is installed"
      fi
      [ ! -s "$destdir.man.err" ] || fail "$(basename "$page"): $(cat "$destdir.man.err")"
      for section in NAME SYNOPSIS DESCRIPTION; do
        grep -q "^$section" <<<"$text" || fail "$(basename "$page") renders without $section"
      done
    done
    ;;

  *) fail "unknown step $step" ;;
esac
