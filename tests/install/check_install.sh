#!/usr/bin/env bash
# Installs the game into a staging folder as a player's system would have it,
# plays a whole game from there (trace checked), checks the menu entry, the
# icons and the manual page, that the run wrote nothing under the prefix, and
# then builds the Debian package and inspects it.
#   check_install.sh BUILD_DIR SOURCE_DIR VERSION
set -u
build=$1 source=$2 version=$3

work=$(mktemp -d)
# The staged install writes the build's install manifest: keep the one of a
# real `make install`, so that `make uninstall` still finds those files.
manifest=$build/install_manifest.txt
[[ -f $manifest ]] && cp -p "$manifest" "$work/manifest.kept"
restore() {
  if [[ -f $work/manifest.kept ]]; then cp -p "$work/manifest.kept" "$manifest"; else rm -f "$manifest"; fi
  rm -rf "$work"
}
trap restore EXIT
fail() { echo "FAIL: $*"; exit 1; }
prefix=/usr
stage=$work/stage
root=$stage$prefix

# ---- Install into DESTDIR ------------------------------------------------------
DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install"; }
[[ -s $build/install_manifest.txt ]] || fail "no install manifest"

programs=(kasample)
for main in "$source"/examples/*/main.cpp; do
  [[ -e $main ]] && programs+=("$(basename "$(dirname "$main")")")
done
for program in "${programs[@]}"; do
  [[ -x $root/lib/kasample/$program && ! -L $root/lib/kasample/$program ]] || fail "lib/kasample/$program missing"
  [[ $(readlink "$root/bin/$program") == "../lib/kasample/$program" ]] || fail "bin/$program is not a link into lib/kasample"
done
[[ $(ls "$root/lib/kasample/music"/*.WAV | wc -l) == 8 ]] || fail "music/ does not hold the 8 pieces"
[[ $(ls "$root/lib/kasample/wave"/*.WAV | wc -l) == 5 ]] || fail "wave/ does not hold the 5 effects"

desktop=$root/share/applications/kasample.desktop
[[ -f $desktop ]] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=kasample' "$desktop" && grep -qx 'Icon=kasample' "$desktop" || fail "the entry does not start kasample"
for size in 32 64 128 256; do
  png=$root/share/icons/hicolor/${size}x${size}/apps/kasample.png
  [[ -f $png ]] || fail "no ${size}px icon"
  # PNG signature, then the width and height of IHDR (big-endian).
  header=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
  want=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size")
  [[ $header == "$want" ]] || fail "the ${size}px icon is not a ${size}x${size} PNG"
done
man_page=$root/share/man/man6/kasample.6
head -1 "$man_page" | grep -q '^\.TH KASAMPLE 6' || fail "no manual page"
if command -v man >/dev/null; then
  warnings=$(MANWIDTH=80 man --warnings -l "$man_page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "manual page warnings: $warnings"
fi

# ---- Run from there: a whole game, nothing written under the prefix -------------
snapshot() { (cd "$stage" && find . -printf '%y %p %s %m %T@\n' | sort); }
snapshot >"$work/before"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
unset XDG_DATA_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
(cd "$work" && "$root/bin/kasample" --headless --frames 3 --screenshot "$work/shot.bmp") 2>"$work/err" ||
  { cat "$work/err"; fail "the installed program does not run"; }
[[ ! -s $work/err ]] || { cat "$work/err"; fail "the installed program complains"; }
[[ -s $work/shot.bmp ]] || fail "no screenshot where it was asked for"
(cd "$work" && bash "$source/tests/game/check_trace.sh" "$root/bin/kasample" \
   "$source/resources/replays/game-ending1.txt" 1) || fail "whole game from the installed program"
snapshot >"$work/after"
diff "$work/before" "$work/after" >"$work/changed" || { cat "$work/changed"; fail "the run wrote under the prefix"; }

# ---- Uninstall removes every file it installed -------------------------------------
(cd "$stage" && find . -mindepth 1 \( -type f -o -type l \)) >"$work/staged-files.before-uninstall"
DESTDIR=$stage cmake --build "$build" --target uninstall >"$work/uninstall.log" 2>&1 ||
  { cat "$work/uninstall.log"; fail "uninstall"; }
left=$(cd "$stage" && find . -mindepth 1 \( -type f -o -type l \) | head -5)
[[ -z $left ]] || fail "uninstall left $left"
[[ ! -e $root/lib/kasample ]] || fail "uninstall left lib/kasample"

# ---- The Debian package ---------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/pkg/kasample_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { ls "$work/pkg"; fail "no $(basename "$deb")"; }
dpkg-deb --info "$deb" >"$work/info" || fail "dpkg-deb --info"
for field in "Package: kasample" "Version: $version" "Section: games"; do
  grep -q "^ $field\$" "$work/info" || { cat "$work/info"; fail "control: no '$field'"; }
done
depends=$(sed -n 's/^ Depends: //p' "$work/info")
for lib in libc6 libsdl2-2.0-0 libstdc++6; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
# The package holds exactly what the staged install holds.
dpkg-deb --contents "$deb" >"$work/contents" || fail "dpkg-deb --contents"
awk '{ print $6 }' "$work/contents" | sed 's|/$||; s|^\./||' | grep -v '^$' | sort >"$work/deb-files"
sed 's|^\./||' "$work/staged-files.before-uninstall" | sort >"$work/staged-files"
comm -13 "$work/deb-files" "$work/staged-files" >"$work/missing"
[[ ! -s $work/missing ]] || { cat "$work/missing"; fail "files missing from the package"; }
grep -q 'usr/bin/kasample -> \.\./lib/kasample/kasample' "$work/contents" || fail "the package's command link"
echo "ok: installed ${#programs[@]} programs, played the whole game, $(basename "$deb"): $depends"
