#!/usr/bin/env bash
# The installed game: an install into a staging folder, then the installed
# launcher started from a fresh home with SDL's dummy drivers. Its key
# presses come from a preloaded library: D at the title (NEW GAME), D (play
# at once), Q D D D (save into slot 1), then the close box.
# usage: install_test.sh BUILD_DIR SCRIPTED_KEYS_LIBRARY
set -euo pipefail
build=$1 keys_lib=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/zk-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Under the address checker its runtime must be loaded before the preloaded
# keys; leaks of the whole game with its libraries are not this test's
# matter (the game core is checked for them by the unit tests).
asan=$(ldd "$keys_lib" | awk '/libasan/ {print $3}')
[ -z "$asan" ] || keys_lib="$asan $keys_lib"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

DESTDIR="$work/stage" cmake --install "$build" --prefix /opt/zk > "$work/install.log"
root=$work/stage/opt/zk
launcher=$root/games/zandrek
for f in "$launcher" "$root/games/zandrek-scic" "$root/games/zandrek-replay" \
         "$root/lib/games/zandrek/zandrek" "$root/share/games/zandrek/rpg.ini" \
         "$root/share/applications/org.zandrek.Zandrek.desktop" \
         "$root/share/metainfo/org.zandrek.Zandrek.metainfo.xml" \
         "$root/share/icons/hicolor/16x16/apps/zandrek.png" \
         "$root/share/icons/hicolor/256x256/apps/zandrek.png" \
         "$root/share/man/man6/zandrek.6.gz" "$root/share/man/man6/zandrek-scic.6.gz" \
         "$root/share/man/man6/zandrek-replay.6.gz"; do
  [ -e "$f" ] || fail "not installed: ${f#"$root"/}"
done
[ ! -e "$root/share/games/zandrek/rpgpcd.pcd" ] || fail "a save file was installed"
desktop-file-validate "$root/share/applications/org.zandrek.Zandrek.desktop" || fail "desktop entry"
grep -qx "Exec=/opt/zk/games/zandrek" "$root/share/applications/org.zandrek.Zandrek.desktop" ||
  fail "the desktop entry does not start the installed launcher"
appstreamcli validate --no-net "$root/share/metainfo/org.zandrek.Zandrek.metainfo.xml" > "$work/as.log" ||
  fail "metainfo: $(cat "$work/as.log")"
listing() { (cd "$work/stage" && find . -printf '%p %s %m %T@\n' | sort); }
before=$(listing)

# The game in the player's folder; a box it might show must not wait for a click.
run_game() {
  # The keys (and the checker's runtime) are preloaded into the launcher
  # only: timeout itself stalls with the checker's runtime preloaded.
  env -u DISPLAY -u XDG_DATA_HOME HOME="$work/home" SDL_VIDEODRIVER=dummy \
      SDL_AUDIODRIVER=dummy ZK_SCRIPTED_KEYS="$1" \
      timeout 60 env LD_PRELOAD="$keys_lib" "$launcher" > "$work/game.log" 2>&1 ||
    fail "the game ended with $?: $(cat "$work/game.log")"
}
mkdir "$work/home"
run_game "D:2500 D:2000 Q:5000 D:600 D:600 D:600 QUIT:2000"
player=$work/home/.local/share/zandrek
[ -L "$player/rpg.ini" ] || fail "no link to the data in the player's folder"
[ -f "$player/rpgpcd.pcd" ] && [ ! -L "$player/rpgpcd.pcd" ] || fail "no save in the player's folder"
[ "$(stat -c %s "$player/rpgpcd.pcd")" = 13728 ] || fail "the save file is not eight slots"
[ "$before" = "$(listing)" ] || fail "the install folder changed"

# A new version refreshes the links and leaves the save alone; a file the
# player put in place of a link is his.
sum=$(md5sum < "$player/rpgpcd.pcd")
echo "0.9" > "$player/.installed-data"
rm "$player/dmapdat004.mp"
ln -s "$work/gone" "$player/dmapdat999.mp"
rm "$player/event.sci" && echo "mine" > "$player/event.sci"
run_game "QUIT:1500"
[ -L "$player/dmapdat004.mp" ] || fail "a missing link was not made again"
[ ! -L "$player/dmapdat999.mp" ] || fail "a link to nowhere was kept"
[ "$(cat "$player/event.sci")" = mine ] || fail "the player's own file was replaced"
[ "$sum" = "$(md5sum < "$player/rpgpcd.pcd")" ] || fail "the save file was touched"
[ "$before" = "$(listing)" ] || fail "the install folder changed"

# No home to keep saves in, or one that cannot be written: a clear message.
for case in "unset" "file"; do
  : > "$work/a-file"
  if [ $case = unset ]; then
    set +e; env -u HOME -u XDG_DATA_HOME -u DISPLAY "$launcher" 2> "$work/err"; rc=$?; set -e
    want="HOME is not set"
  else
    set +e; env -u DISPLAY XDG_DATA_HOME="$work/a-file" "$launcher" 2> "$work/err"; rc=$?; set -e
    want="cannot make the game folder $work/a-file/zandrek"
  fi
  [ $rc = 1 ] || fail "home $case: exit status $rc"
  grep -qF "$want" "$work/err" || fail "home $case: said $(cat "$work/err")"
done
echo "installed game: ok"
