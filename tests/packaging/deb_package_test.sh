#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks it as a user
# would get it: unpacked into a scratch root with dpkg -x, spravka-cli runs
# from there (no LD_LIBRARY_PATH) and makes a demo town; every library the
# programs load is named in Depends; the desktop entry validates; the icons
# have their sizes; lintian finds no errors.
# Usage: deb_package_test.sh CPACK BUILD_FOLDER WORK_FOLDER
set -euo pipefail
cpack=$1
build=$2
work=$3

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate readelf; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is missing; scripts/install-deps --tests installs it"
    exit 77
  fi
done

rm -rf "$work"
mkdir -p "$work"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" \
  >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/cpack/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made ${#debs[@]} packages"
deb=${debs[0]}
echo "package: $deb"
dpkg-deb --info "$deb" control

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/spravka usr/bin/spravka-cli \
            usr/share/applications/spravka.desktop \
            usr/share/mime/packages/spravka.xml \
            usr/share/icons/hicolor/scalable/apps/spravka.svg \
            usr/share/man/man1/spravka.1.gz usr/share/man/man1/spravka-cli.1.gz \
            usr/share/doc/spravka/copyright usr/share/doc/spravka/changelog.gz; do
  [ -f "$root/$file" ] || fail "the package lacks /$file"
done

# The programs run from the package alone.
cli="$root/usr/bin/spravka-cli"
env -u LD_LIBRARY_PATH "$cli" --help >"$work/help" || fail "spravka-cli --help"
grep -q '^  demo ' "$work/help" || fail "spravka-cli --help lists no commands"
version=$(dpkg-deb --field "$deb" Version)
[ "$(env -u LD_LIBRARY_PATH "$cli" --version | head -n1)" = "spravka-cli $version" ] ||
  fail "spravka-cli --version is not the package's version $version"
env -u LD_LIBRARY_PATH "$cli" demo "$work/town.qz" --home 300 --org 30 --seed 1 \
  >/dev/null || fail "spravka-cli demo"
env -u LD_LIBRARY_PATH "$cli" check "$work/town.qz" >/dev/null ||
  fail "the demo town fails its check"

# Every shared library the programs need, as the loader finds it, comes
# from a package that Depends names.
depends=$(dpkg-deb --field "$deb" Depends)
# The package names alone, one a line (versions and alternatives dropped).
depends_names=$(sed -e 's/([^)]*)//g' -e 's/[,|]/\n/g' <<<"$depends" | tr -d ' ')
for program in "$root"/usr/bin/*; do
  for lib in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    path=$(env -u LD_LIBRARY_PATH ldd "$program" | awk -v lib="$lib" '$1 == lib { print $3 }')
    [ -n "$path" ] || fail "$(basename "$program") needs $lib, which is not found"
    owner=$( (dpkg -S "$path" || dpkg -S "$(realpath "$path")") 2>/dev/null |
             head -n1 | cut -d: -f1)
    [ -n "$owner" ] || fail "no installed package holds $path"
    grep -qxF "$owner" <<<"$depends_names" ||
      fail "$lib comes from $owner, which Depends does not name: $depends"
  done
done

# The desktop entry: valid, and it starts the packaged program.
entry="$root/usr/share/applications/spravka.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$root/usr/bin/$exec_program" ] || fail "Exec names $exec_program, not in the package"
grep -qx 'Icon=spravka' "$entry" || fail "the entry names another icon"

# Each PNG of the icon theme has the size of its folder.
pngs=0
for png in "$root"/usr/share/icons/hicolor/*x*/apps/spravka.png; do
  folder=$(basename "$(dirname "$(dirname "$png")")")
  read -r w h < <(od -An -j16 -N8 -tu1 "$png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
  [ "${w}x${h}" = "$folder" ] || fail "$png is ${w}x${h}"
  pngs=$((pngs + 1))
done
[ -f "$root/usr/share/icons/hicolor/48x48/apps/spravka.png" ] ||
  fail "no 48x48 icon, which the icon theme requires"
echo "icons: $pngs PNG sizes and the SVG"

if command -v lintian >/dev/null; then
  # lintian warns that it runs as root; the tags are what matters.
  lintian --tag-display-limit 0 --fail-on error "$deb" 2>"$work/lintian.err" |
    tee "$work/lintian.log" || fail "lintian reports errors"
  echo "lintian: no errors ($(grep -c '^W:' "$work/lintian.log" || true) warnings)"
else
  echo "lintian is not installed: the package was not checked by it" \
       "(scripts/install-deps --tests installs it)"
fi
