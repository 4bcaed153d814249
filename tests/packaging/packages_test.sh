#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and the RPM from the build tree and checks them
# as a user would get them. The .deb, unpacked into a scratch root with
# dpkg -x: spravka-cli runs from there (no LD_LIBRARY_PATH) and makes a
# demo town; every library the programs load, and Qt's Russian texts, come
# from packages named in Depends; the desktop entry validates and has its
# Russian name; the icons have their sizes; the copyright file names the
# licence; lintian -I -E --pedantic finds no error, warning or hardening
# tag; hardening-check passes both programs. The RPM, unpacked with
# rpm2cpio: the same files byte for byte, plus the licence's text;
# rpm -qpR names every library the programs load, and Qt's translations;
# licence, packager and version as in the .deb.
# Usage: packages_test.sh CPACK BUILD_FOLDER WORK_FOLDER hardened|plain
set -euo pipefail
cpack=$1
build=$2
work=$3
hardening=${4:-hardened}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate readelf lintian \
            hardening-check rpmbuild rpm rpm2cpio cpio qtpaths6; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is missing; scripts/install-deps --tests installs it"
    exit 77
  fi
done

rm -rf "$work"
mkdir -p "$work"
"$cpack" -G 'DEB;RPM' --config "$build/CPackConfig.cmake" -B "$work/cpack" \
  >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/cpack/*.deb)
rpms=("$work"/cpack/*.rpm)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made ${#debs[@]} .deb packages"
[ ${#rpms[@]} -eq 1 ] && [ -f "${rpms[0]}" ] || fail "cpack made ${#rpms[@]} RPMs"
deb=${debs[0]}
rpm=${rpms[0]}
echo "packages: $(basename "$deb") ($(stat -c %s "$deb") bytes)," \
     "$(basename "$rpm") ($(stat -c %s "$rpm") bytes)"
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

# The licence: the copyright file in the machine-readable format gives it
# for all files; the programs and their manual pages name it.
copyright="$root/usr/share/doc/spravka/copyright"
head -n1 "$copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in the machine-readable format"
[ "$(sed -n '/^Files: \*$/,/^$/s/^License: //p' "$copyright")" = "GPL-3+" ] ||
  fail "the copyright file does not give GPL-3+ for all files"
grep -qF '/usr/share/common-licenses/GPL-3' "$copyright" ||
  fail "the copyright file does not point at Debian's text of the GPL"
for program in spravka spravka-cli; do
  terms=$(env -u DISPLAY -u LD_LIBRARY_PATH "$root/usr/bin/$program" --version |
          tail -n +2)
  grep -q 'GPLv3+' <<<"$terms" || fail "$program --version names no licence"
  page=$(zcat "$root/usr/share/man/man1/$program.1.gz")
  while IFS= read -r line; do
    grep -qF -- "$line" <<<"$page" || fail "the manual page of $program lacks «$line»"
  done <<<"$terms"
done

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

# Qt's own Russian texts, which the window loads from where Qt keeps its
# translations, come from a package that Depends names.
qm="$(qtpaths6 --query QT_INSTALL_TRANSLATIONS)/qtbase_ru.qm"
qm_owner=$(dpkg -S "$qm" 2>/dev/null | head -n1 | cut -d: -f1)
[ -n "$qm_owner" ] || fail "no installed package holds $qm"
grep -qxF "$qm_owner" <<<"$depends_names" ||
  fail "$qm comes from $qm_owner, which Depends does not name: $depends"

# The desktop entry: valid, and it starts the packaged program. In a
# Russian menu it reads as what the program is, and the manual page says
# under which name it stands there.
entry="$root/usr/share/applications/spravka.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
name_ru=$(sed -n 's/^Name\[ru\]=//p' "$entry")
[ "$name_ru" = "Телефонный справочник" ] ||
  fail "the Russian menu shows the program as «$name_ru»"
page=$(zcat "$root/usr/share/man/man1/spravka.1.gz")
grep -qF "\\(Fo$name_ru\\(Fc" <<<"$page" ||
  fail "the manual page does not name the menu entry «$name_ru»"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$root/usr/bin/$exec_program" ] || fail "Exec names $exec_program, not in the package"
grep -qx 'Icon=spravka' "$entry" || fail "the entry names another icon"

# Each PNG of the icon theme has the size of its folder.
pngs=0
for png in "$root"/usr/share/icons/hicolor/*x*/apps/spravka.png; do
  folder=$(basename "$(dirname "$(dirname "$png")")")
  read -r w h < <(od -An -j16 --read-bytes=8 -tu1 "$png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
  [ "${w}x${h}" = "$folder" ] || fail "$png is ${w}x${h}"
  pngs=$((pngs + 1))
done
[ -f "$root/usr/share/icons/hicolor/48x48/apps/spravka.png" ] ||
  fail "no 48x48 icon, which the icon theme requires"
echo "icons: $pngs PNG sizes and the SVG"

# The programs are built as Debian builds its own: fortified, with the
# stack protector, read-only relocations bound at start-up, and PIE. (Not
# checked: control-flow enforcement, which no program on Debian 12 can
# have, its C library's start files being built without it; stack clash
# protection is reported, not judged.)
if [ "$hardening" = hardened ]; then
  hardening-check --nocfprotection "$root"/usr/bin/spravka "$root"/usr/bin/spravka-cli |
    tee "$work/hardening.log" || fail "hardening-check finds the programs unhardened"
else
  echo "hardening-check: not run, this build is not a hardened one"
fi

# lintian with every tag shown: no error or warning, and no hardening tag
# unless this build is not a hardened one. (It warns that it runs as root
# on stderr; the tags are what matters.)
lintian -I -E --pedantic --tag-display-limit 0 "$deb" \
  >"$work/lintian.log" 2>"$work/lintian.err" || true
cat "$work/lintian.log"
! grep -q '^[EW]: ' "$work/lintian.log" || fail "lintian reports errors or warnings"
if [ "$hardening" = hardened ]; then
  ! grep -q 'hardening' "$work/lintian.log" || fail "lintian finds the programs unhardened"
fi
echo "lintian -I -E --pedantic: $(grep -c '^[A-Z]: ' "$work/lintian.log" || true) tags"

# The RPM: what rpm says of it, against the .deb.
rpm_field() { rpm -qp --queryformat "%{$1}" "$rpm" 2>/dev/null; }
rpm -qpi "$rpm" 2>/dev/null
[ "$(rpm_field VERSION)" = "$version" ] ||
  fail "the RPM has version $(rpm_field VERSION), the .deb $version"
[ "$(rpm_field LICENSE)" = "GPL-3.0-or-later" ] ||
  fail "the RPM gives the licence $(rpm_field LICENSE)"
[ "$(rpm_field PACKAGER)" = "$(dpkg-deb --field "$deb" Maintainer)" ] ||
  fail "the RPM's packager $(rpm_field PACKAGER) is not the .deb's maintainer"
# The description: the .deb's, its lines without their first blank and
# with empty lines for " .".
deb_description=$(dpkg-deb --field "$deb" Description)
[ "$(rpm_field SUMMARY)" = "$(head -n1 <<<"$deb_description")" ] ||
  fail "the RPM's summary differs from the .deb's"
[ "$(rpm_field DESCRIPTION)" = "$(tail -n +2 <<<"$deb_description" |
                                  sed -e 's/^ //' -e 's/^\.$//')" ] ||
  fail "the RPM's description differs from the .deb's"

# Its files are the .deb's, byte for byte, and the licence's text where RPM
# systems keep it, marked as the licence.
rpm_root="$work/rpm-root"
mkdir -p "$rpm_root"
(cd "$rpm_root" && rpm2cpio "$rpm" | cpio -idm --quiet) || fail "rpm2cpio | cpio"
licence=usr/share/licenses/spravka/LICENSE
cmp -s "$rpm_root/$licence" /usr/share/common-licenses/GPL-3 ||
  fail "the RPM lacks the text of the GPL version 3 as /$licence"
[ "$(rpm -qpL "$rpm" 2>/dev/null)" = "/$licence" ] ||
  fail "the RPM marks $(rpm -qpL "$rpm" 2>/dev/null) as its licence"
files_of() { (cd "$1" && find . ! -type d | sort); }
diff <( (files_of "$root"; echo "./$licence") | sort) <(files_of "$rpm_root") ||
  fail "the RPM and the .deb hold other files"
while IFS= read -r file; do
  cmp -s "$root/$file" "$rpm_root/$file" || fail "$file differs between the packages"
done < <(files_of "$root")
listed=$(rpm -qpl "$rpm" 2>/dev/null)
while IFS= read -r file; do
  grep -qxF "${file#.}" <<<"$listed" || fail "rpm -qpl does not list ${file#.}"
done < <(files_of "$rpm_root")
# It owns its own folders only, not those of the system's packages.
owned=$(rpm -qp --queryformat '[%{FILEMODES:perms} %{FILENAMES}\n]' "$rpm" 2>/dev/null |
        sed -n 's/^d[^ ]* //p' | sort)
[ "$owned" = "$(printf '%s\n' /usr/share/doc/spravka /usr/share/licenses/spravka)" ] ||
  fail "the RPM owns the folders $(echo $owned)"

# Its requirements name Qt's translations and, as rpmbuild finds them,
# every library the programs load.
requires=$(rpm -qpR "$rpm" 2>/dev/null)
echo "rpm -qpR: $(echo $requires)"
grep -q 'qt6-qttranslations' <<<"$requires" ||
  fail "the RPM does not require Qt's translations"
for program in "$rpm_root"/usr/bin/*; do
  for lib in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    grep -qF "$lib(" <<<"$requires" ||
      fail "$(basename "$program") needs $lib, which the RPM does not require"
  done
done
env -u LD_LIBRARY_PATH "$rpm_root/usr/bin/spravka-cli" check "$work/town.qz" >/dev/null ||
  fail "spravka-cli from the RPM fails"
echo "RPM: $(files_of "$rpm_root" | wc -l) files, the .deb's and the licence"
