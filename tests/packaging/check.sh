#!/usr/bin/env bash
# Checks what `cmake --install` and CPack put on a system.
#
#   check.sh install  BUILD STAGE     install BUILD into STAGE with prefix /usr
#   check.sh files    STAGE           exactly the expected files, nothing more
#   check.sh desktop  STAGE           the menu entry validates and points home
#   check.sh metainfo STAGE           the AppStream file validates and agrees
#   check.sh icons    STAGE           each icon is what its directory says
#   check.sh man      STAGE           the manual page is clean and gzip -9n
#   check.sh launch   STAGE           the installed game opens its window
#   check.sh deb      BUILD OUTDIR    build the .deb and check its control data
#   check.sh lintian  DEB             lintian reports no errors
#
# VERSION (the project's, e.g. 1.0.0) and REVISION (the Debian one) come from
# the environment; `deb` reads them from BUILD's cache when they are not set.
set -euo pipefail

readonly APP_ID=io.github.nubbo.Nubbo
readonly TITLE='完全NUBBO方塊版'
readonly SIZES=(16 24 32 48 64 128 256)

fail() { echo "FAIL: $*" >&2; exit 1; }

# The files an install under /usr must produce, sorted, without the prefix
# directory structure.
expected_files() {
  {
    echo usr/games/nubbo
    echo "usr/share/applications/$APP_ID.desktop"
    echo "usr/share/metainfo/$APP_ID.metainfo.xml"
    echo usr/share/man/man6/nubbo.6.gz
    echo usr/share/doc/nubbo/copyright
    echo usr/share/doc/nubbo/changelog.Debian.gz
    for s in "${SIZES[@]}"; do
      echo "usr/share/icons/hicolor/${s}x${s}/apps/$APP_ID.png"
    done
    echo "usr/share/icons/hicolor/scalable/apps/$APP_ID.svg"
  } | LC_ALL=C sort
}

# A gzip file made with -n has no stored name (FLG bit 3) and a zero MTIME.
check_gzip_n() {
  local f=$1 header
  gzip -t "$f" || fail "$f is not valid gzip"
  header=$(od -An -tx1 -N8 "$f" | tr -d ' \n')
  [[ ${header:0:4} == 1f8b ]] || fail "$f: not gzip"
  (( (16#${header:6:2} & 8) == 0 )) || fail "$f stores a file name (use gzip -n)"
  [[ ${header:8:8} == 00000000 ]] || fail "$f stores a time stamp (use gzip -n)"
}

cmd_install() {
  local build=$1 stage=$2
  rm -rf "$stage"
  mkdir -p "$stage"
  DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$stage.log" 2>&1 ||
    { cat "$stage.log" >&2; fail "cmake --install failed"; }
  [[ -x $stage/usr/games/nubbo ]] || fail "no executable at /usr/games/nubbo"
}

cmd_files() {
  local stage=$1 actual
  actual=$(cd "$stage" && find . -not -type d -printf '%P\n' | LC_ALL=C sort)
  if [[ $actual != "$(expected_files)" ]]; then
    diff -u <(expected_files) <(echo "$actual") >&2 || true
    fail "installed files differ from the expected list (- expected, + installed)"
  fi
  # Only the game is executable; everything else is plain data.
  while IFS= read -r f; do
    local mode
    mode=$(stat -c %a "$stage/$f")
    if [[ $f == usr/games/nubbo ]]; then
      [[ $mode == 755 ]] || fail "$f has mode $mode, not 755"
    else
      [[ $mode == 644 ]] || fail "$f has mode $mode, not 644"
    fi
  done < <(expected_files)
  # A run path left over from the build tree would load libraries from there.
  if readelf -d "$stage/usr/games/nubbo" | grep -Eq '\((RPATH|RUNPATH)\)'; then
    fail "the installed executable keeps a run path: $(readelf -d "$stage/usr/games/nubbo" | grep -E 'R(UN)?PATH')"
  fi
}

desktop_value() { sed -n "s/^$2=//p" "$1" | head -n1; }

cmd_desktop() {
  local stage=$1 entry exec icon
  entry="$stage/usr/share/applications/$APP_ID.desktop"
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
  [[ $(desktop_value "$entry" Name) == "$TITLE" ]] || fail "Name is not $TITLE"
  [[ $(desktop_value "$entry" Terminal) == false ]] || fail "Terminal is not false"
  # Exec must be the installed program's full path under the /usr prefix.
  exec=$(desktop_value "$entry" Exec)
  [[ $exec == /usr/games/nubbo ]] || fail "Exec=$exec, not /usr/games/nubbo"
  [[ -x $stage$exec ]] || fail "Exec=$exec is not installed"
  # Icon must be a theme name that the installed hicolor icons provide.
  icon=$(desktop_value "$entry" Icon)
  [[ $icon != */* && $icon != *.png && $icon != *.svg ]] ||
    fail "Icon=$icon is a path, not a theme name"
  [[ -f $stage/usr/share/icons/hicolor/scalable/apps/$icon.svg &&
     -f $stage/usr/share/icons/hicolor/48x48/apps/$icon.png ]] ||
    fail "no hicolor icon is installed under the name $icon"
}

cmd_metainfo() {
  local stage=$1 meta
  meta="$stage/usr/share/metainfo/$APP_ID.metainfo.xml"
  appstreamcli validate --no-net "$meta" || fail "appstreamcli rejects $meta"
  # Pedantic too: nothing but the note on the capital letter in the id.
  local notes
  notes=$(appstreamcli validate --pedantic --no-net --no-color "$meta" 2>&1 | grep -E '^[EWIP]:' |
    grep -v 'cid-contains-uppercase-letter' || true)
  [[ -z $notes ]] || fail "appstreamcli --pedantic notes: $notes"
  grep -q "<id>$APP_ID</id>" "$meta" || fail "metainfo id is not $APP_ID"
  # The launchable must be the menu entry that is actually installed.
  local launchable
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$meta")
  [[ -f $stage/usr/share/applications/$launchable ]] ||
    fail "launchable $launchable is not an installed desktop entry"
  # The newest release listed is the version being installed.
  local newest
  newest=$(grep -o '<release version="[^"]*"' "$meta" | head -n1 | cut -d'"' -f2)
  [[ $newest == "$VERSION" ]] ||
    fail "newest metainfo release is $newest, the project is $VERSION"
  # And so is the newest Debian changelog entry.
  local changelog="$stage/usr/share/doc/nubbo/changelog.Debian.gz"
  check_gzip_n "$changelog"
  local top
  top=$(gzip -dc "$changelog" | head -n1)
  [[ $top == "nubbo ($VERSION-$REVISION) "* ]] ||
    fail "changelog starts with '$top', not version $VERSION-$REVISION"
}

cmd_icons() {
  local stage=$1 s f desc
  for s in "${SIZES[@]}"; do
    f="$stage/usr/share/icons/hicolor/${s}x${s}/apps/$APP_ID.png"
    desc=$(file -b "$f")
    [[ $desc == "PNG image data, $s x $s,"* ]] ||
      fail "${s}x${s} icon is not a ${s}x${s} PNG: $desc"
  done
  f="$stage/usr/share/icons/hicolor/scalable/apps/$APP_ID.svg"
  desc=$(file -b "$f")
  [[ $desc == SVG* ]] || fail "scalable icon is not SVG: $desc"
}

cmd_man() {
  local stage=$1 page warnings
  page="$stage/usr/share/man/man6/nubbo.6.gz"
  check_gzip_n "$page"
  # The same check lintian makes: groff must have nothing to warn about.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man reports: $warnings"
  local text
  text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$page" 2>/dev/null | col -b)
  for section in NAME SYNOPSIS DESCRIPTION KEYS MENU FILES AUTHOR; do
    grep -q "^$section" <<<"$text" || fail "man page has no $section section"
  done
  grep -q "nubbo $VERSION" <<<"$text" || fail "man page does not say version $VERSION"
}

# Set by cmd_launch; global so that the exit trap still sees them.
tmp='' xvfb_pid='' game_pid=''

cmd_launch() {
  local stage=$1 display=''
  tmp=$(mktemp -d)
  # shellcheck disable=SC2317  # called from the trap
  cleanup() {
    [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$tmp"
  }
  trap 'cleanup || true' EXIT

  # Xvfb picks a free display itself and writes its number to the given fd.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    display=$(tr -d '\n' <"$tmp/display")
    [[ -n $display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$tmp/xvfb.log" >&2; fail "Xvfb did not start"; }
    sleep 0.1
  done
  [[ -n $display ]] || fail "Xvfb gave no display number"

  # Start the installed copy, in a clean Qt environment: the X11 platform,
  # whatever platform the calling tests or the desktop session chose.
  (
    unset WAYLAND_DISPLAY XDG_SESSION_TYPE QT_QPA_PLATFORM_PLUGIN_PATH LD_LIBRARY_PATH
    # A UTF-8 locale, as Qt needs: in the C locale it writes the caption
    # into the legacy WM_NAME as Latin-1, where xdotool cannot find it.
    export DISPLAY=":$display" XDG_RUNTIME_DIR="$tmp" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
    cd "$tmp"
    exec "$stage/usr/games/nubbo"
  ) >"$tmp/game.log" 2>&1 &
  game_pid=$!

  sleep 1.5
  kill -0 "$game_pid" 2>/dev/null ||
    { cat "$tmp/game.log" >&2; game_pid=''; fail "the installed game exited within 1.5 s"; }
  local found=''
  for _ in $(seq 50); do
    if DISPLAY=":$display" LC_ALL=C.UTF-8 xdotool search --name "^$TITLE\$" >/dev/null 2>&1; then
      found=yes
      break
    fi
    sleep 0.2
  done
  [[ -n $found ]] || { cat "$tmp/game.log" >&2; fail "no window named $TITLE appeared"; }
  kill -0 "$game_pid" 2>/dev/null || fail "the installed game died after opening its window"
}

cache_value() { sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"; }

cmd_deb() {
  local build out deb
  build=$(realpath "$1")
  out=$(realpath -m "$2")
  VERSION=${VERSION:-$(cache_value "$build" CMAKE_PROJECT_VERSION)}
  REVISION=${REVISION:-$(cache_value "$build" NUBBO_DEB_REVISION)}
  rm -rf "$out"
  mkdir -p "$out"
  (cd "$out" && cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1) ||
    { cat "$out/cpack.log" >&2; fail "cpack failed"; }
  deb="$out/nubbo_${VERSION}-${REVISION}_$(dpkg --print-architecture).deb"
  [[ -f $deb ]] || fail "cpack made no $(basename "$deb"): $(ls "$out")"

  field() { dpkg-deb -f "$deb" "$1"; }
  [[ $(field Package) == nubbo ]] || fail "Package is $(field Package)"
  [[ $(field Version) == "$VERSION-$REVISION" ]] || fail "Version is $(field Version)"
  [[ $(field Section) == games ]] || fail "Section is $(field Section)"
  [[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] ||
    fail "Maintainer '$(field Maintainer)' is not Name <address>"
  # Depends: the libraries dpkg-shlibdeps found, plus what is loaded at run time.
  local depends
  depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
  for pkg in fonts-arphic-ukai fonts-liberation2 qt6-qpa-plugins \
             libqt6widgets6 libqt6gui6 libqt6core6 libsdl2-2.0-0 libc6 libstdc++6; do
    grep -qx "$pkg" <<<"$depends" || fail "Depends lacks $pkg: $(field Depends)"
  done
  [[ $(field Recommends) == *qt6-wayland* ]] || fail "Recommends lacks qt6-wayland: $(field Recommends)"

  # The same files as a plain install, owned by root.
  local listing contents
  listing=$(dpkg-deb -c "$deb")
  contents=$(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' <<<"$listing" | LC_ALL=C sort)
  if [[ $contents != "$(expected_files)" ]]; then
    diff -u <(expected_files) <(echo "$contents") >&2 || true
    fail "package files differ from the expected list (- expected, + packaged)"
  fi
  awk '$2 != "root/root" { bad = bad " " $6 } END { if (bad) { print "not owned by root:" bad; exit 1 } }' \
    <<<"$listing" >&2 || fail "package has files not owned by root"
  awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { bad = bad " " $6 } END { if (bad) { print "bad directory modes:" bad; exit 1 } }' \
    <<<"$listing" >&2 || fail "package directories are not 0755"

  # The packaged executable is stripped, and the menu entry CPack installed
  # points at it.
  dpkg-deb -x "$deb" "$out/root"
  file -b "$out/root/usr/games/nubbo" | grep -q ', stripped' ||
    fail "packaged executable is not stripped: $(file -b "$out/root/usr/games/nubbo")"
  cmd_desktop "$out/root"
}

cmd_lintian() {
  local deb=$1 report status=0
  # Errors fail; warnings are printed for the record. Lintian's note about
  # running as root (as CI does) is dropped.
  report=$(lintian --fail-on error --display-level '>=warning' "$deb" 2>&1) || status=$?
  report=$(grep -v 'running with root privileges is not recommended' <<<"$report" || true)
  [[ -z $report ]] || echo "$report"
  (( status == 0 )) || fail "lintian reports errors on $deb (exit $status)"
}

command=${1:?usage: check.sh COMMAND ARGS...}
shift
case $command in
  install | files | desktop | metainfo | icons | man | launch | deb | lintian) "cmd_$command" "$@" ;;
  *) fail "unknown command $command" ;;
esac
