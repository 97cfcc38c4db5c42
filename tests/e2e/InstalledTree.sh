#!/usr/bin/env bash
# The tree `cmake --install` lays out, checked as a packager would, then the installed game started
# from / on the current display: it must find its stages, its sounds and the system's font, and
# show its window with the desktop entry's class and an icon. Arguments: BUILD_DIR APP_ID CLASS.
set -euo pipefail
build=$1 id=$2 class=$3
tmp=$(mktemp -d)
game_pid=
cleanup() {
  if [ -n "$game_pid" ]; then kill -KILL "$game_pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Prints what `probe` prints once it prints something; the game starting slowly on a busy machine
# is waited for, the game ending is a failure at once.
wait_for() {
  local what=$1 probe=$2 found deadline=$((SECONDS + 60))
  while [ "$SECONDS" -le "$deadline" ]; do
    found=$($probe)
    if [ -n "$found" ]; then
      echo "$found"
      return
    fi
    kill -0 "$game_pid" 2>/dev/null || fail "the installed game ended while waiting for $what: $(cat "$tmp/game.err")"
    sleep 0.2
  done
  fail "timed out after 60 s waiting for $what: $(cat "$tmp/game.err")"
}

png_size() { # width x height from the PNG header
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

# --- DESTDIR: everything lands below it, nothing at the prefix itself ---------------------------
DESTDIR="$tmp/dest" cmake --install "$build" --prefix "$tmp/staged" >/dev/null
[ -x "$tmp/dest$tmp/staged/bin/twirlstick" ] || fail "DESTDIR is not honoured"
[ ! -e "$tmp/staged" ] || fail "an install with DESTDIR wrote outside it"

# --- the tree -----------------------------------------------------------------------------------
prefix=$tmp/usr
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
desktop=$share/applications/$id.desktop
for f in bin/twirlstick bin/twirlstick-stage share/metainfo/$id.metainfo.xml share/man/man6/twirlstick.6.gz \
  share/man/man6/twirlstick-stage.6.gz share/doc/twirlstick/copyright share/doc/twirlstick/changelog.gz \
  share/locale/en/LC_MESSAGES/twirlstick.mo; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
[ "$(cd "$build/game" && ls -d stage*)" = "$(cd "$share/twirlstick" && ls -d stage*)" ] ||
  fail "the installed stages differ from the game folder's"
[ "$(ls "$build/game/sound")" = "$(ls "$share/twirlstick/sound")" ] ||
  fail "the installed sounds differ from the game folder's"
for size in 48 128 256; do
  icon=$share/icons/hicolor/${size}x$size/apps/$id.png
  [ -f "$icon" ] || fail "missing icon $icon"
  [ "$(png_size "$icon")" = "${size}x$size" ] || fail "$icon is $(png_size "$icon")"
done
fonts=$(find "$prefix" -iname '*.ttf' -o -iname '*.otf' -o -iname '*.ttc' -o -iname 'IPAfont*')
[ -z "$fonts" ] || fail "a font was installed: $fonts"

# --- what packagers run on it -------------------------------------------------------------------
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate: $(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml")"
man_warnings=$(zcat "$share/man/man6/twirlstick.6.gz" | groff -man -ww -z -Tutf8 2>&1)
[ -z "$man_warnings" ] || fail "the man page: $man_warnings"
stage_page=$(cd / && man -l "$share/man/man6/twirlstick-stage.6.gz" 2>&1 >/dev/null)
[ -z "$stage_page" ] || fail "man -l on the stage tool's page: $stage_page"
for line in "Exec=twirlstick" "Icon=$id" "Categories=Game;ArcadeGame;" "StartupWMClass=$class"; do
  grep -qxF "$line" "$desktop" || fail "the desktop entry lacks $line"
done

# --- no system font: a clear failure naming it, not a crash ---------------------------------------
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n' "$tmp/fc-cache" >"$tmp/no-fonts.conf"
code=0
(cd / && env -u DISPLAY FONTCONFIG_FILE="$tmp/no-fonts.conf" SDL_VIDEODRIVER=dummy XDG_DATA_HOME="$tmp/xdg" \
  timeout 10 "$prefix/bin/twirlstick") 2>"$tmp/no-font.err" || code=$?
[ "$code" -eq 1 ] || fail "without the system font: exit code $code"
grep -q "ipagp.ttf" "$tmp/no-font.err" || fail "without the system font: $(cat "$tmp/no-font.err")"

# --- the installed game, started from / -----------------------------------------------------------
[ -n "${DISPLAY:-}" ] || fail "the installed game needs an X display (xvfb-run)"
# In English (a locale this machine need not have): the catalog is found in the installed share/locale.
(cd / && exec env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=en_US.UTF-8 XDG_DATA_HOME="$tmp/xdg" \
  "$prefix/bin/twirlstick" 2>"$tmp/game.err") &
game_pid=$!
game_window() { xdotool search --onlyvisible --classname "^$class\$" 2>/dev/null | head -1 || true; }
win=$(wait_for "a window of class $class" game_window)
class_property=$(xprop -id "$win" WM_CLASS)
[ "$class_property" = "WM_CLASS(STRING) = \"$class\", \"$class\"" ] || fail "window class: $class_property"
icon_property=$(xprop -id "$win" _NET_WM_ICON) # read whole: grep -q on a pipe would cut xprop short
[[ "$icon_property" == "_NET_WM_ICON(CARDINAL) ="* ]] || fail "the window has no icon: ${icon_property:0:80}"
# The window is shown before the texts are set up, so the font turns up in the maps a little later.
mapped_font() { grep -o '/[^ ]*/ipagp.ttf$' "/proc/$game_pid/maps" 2>/dev/null | head -1 || true; }
font=$(wait_for "the game to open a font" mapped_font)
[ "${font#"$tmp"}" = "$font" ] || fail "the game did not open the system's font (got '$font')"
sleep 1 # still running a moment later, not merely started
kill -0 "$game_pid" 2>/dev/null || fail "the installed game ended: $(cat "$tmp/game.err")"
! grep -q "ファイルが確認できません" "$tmp/game.err" || fail "$(cat "$tmp/game.err")"
! grep -q "texts stay in Japanese" "$tmp/game.err" || fail "the installed catalog: $(cat "$tmp/game.err")"

# --- a termination signal ends it cleanly ------------------------------------------------------
kill -TERM "$game_pid"
code=0
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "the installed game did not end within 10 s of SIGTERM"
wait "$game_pid" || code=$?
game_pid=
[ "$code" -eq 0 ] || fail "after SIGTERM: exit code $code; $(cat "$tmp/game.err")"
echo "installed tree: files, desktop entry, metainfo, man page, icons and the game from / all good"
