#!/usr/bin/env bash
# Installs the build into a fresh prefix, checks the layout, makes the prefix
# read-only and runs command-line output from it as a new user would: a fresh
# home folder, no VAKURO_HOME. The writable files must go to the XDG data
# folder. Checks the menu entry and the AppStream metadata with
# desktop-file-validate and appstreamcli when they are installed.
#
# usage: install_test.sh BUILD_FOLDER CMAKE APP_ID
set -euo pipefail

build=$1
cmake=$2
id=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/vakuro-install.XXXXXX")
cleanup() {
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
touch "$work/installed"

# The layout.
for f in bin/vakuro \
         lib/vakuro/libPavrex.so lib/vakuro/libTesmor32.so lib/vakuro/libimgctl.so lib/vakuro/libvakuro_sound.so \
         share/vakuro/help/index.html share/vakuro/Template.Dat share/vakuro/Template/VFmt_001.VTF \
         "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
         share/doc/vakuro/copyright share/doc/vakuro/LICENSE; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ "$(ls "$prefix/bin")" = vakuro ] || fail "bin/ holds more than the program: $(ls "$prefix/bin")"
for size in 16 22 24 32 48 64 128 256 512; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  if command -v file >/dev/null; then
    file "$icon" | grep -q "PNG image data, $size x $size" || fail "wrong icon size: $(file "$icon")"
  fi
done
# The program's run path names the private library folder; the engine finds
# the effects library beside itself.
readelf -d "$prefix/bin/vakuro" | grep -E 'R(UN)?PATH' | grep -qF '$ORIGIN/../lib/vakuro' ||
  fail "run path of bin/vakuro: $(readelf -d "$prefix/bin/vakuro" | grep -E 'R(UN)?PATH' || echo none)"
readelf -d "$prefix/lib/vakuro/libPavrex.so" | grep -E 'R(UN)?PATH' | grep -qF '[$ORIGIN]' ||
  fail "run path of libPavrex.so"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
else
  echo "desktop-file-validate not installed: not checked"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
else
  echo "appstreamcli not installed: not checked"
fi

# Read-only installation, fresh user. As root a read-only folder can still be
# written, so the program then runs as the user nobody.
chmod -R a+rX,a-w "$prefix"
chmod 755 "$work"
mkdir -p "$work/home" "$work/tmp" "$work/out"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null || fail "running as root needs setpriv to run the program as another user"
  chown 65534:65534 "$work/home" "$work/tmp" "$work/out"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
# A fresh environment; only a sanitizer build's settings are passed on.
keep=()
for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
  if [ -n "${!name:-}" ]; then keep+=("$name=${!name}"); fi
done
run() {
  timeout 20 "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work/home" TMPDIR="$work/tmp" LANG=C.UTF-8 \
    "${keep[@]}" "$prefix/bin/vakuro" "$@"
}

# A first start: the stored output name defaults to the data folder, which
# is created.
data=$work/home/.local/share/Korvel/Vakuro
run /T ABC /S 1 || fail "output to the default name (status $?)"
[ -d "$data" ] || fail "the per-user data folder was not created: $data"
ls "$data" | grep -qE '^Vak_[0-9]{3}\.BMP$' || fail "no default output in the data folder: $(ls -A "$data")"
[ -f "$data/Vakuro.ini" ] || fail "no settings in the data folder: $(ls -A "$data")"

run /T ABC /F "$work/out/title.gif" || fail "command-line output from the installed program (status $?)"
[ "$(head -c 3 "$work/out/title.gif")" = GIF ] || fail "no GIF written"

# Nothing was written into the installation.
[ -z "$(find "$prefix" -newer "$work/installed")" ] || fail "files written into the prefix"
echo "installed and ran from $prefix; data folder: $(ls -A "$data" | tr '\n' ' ')"
