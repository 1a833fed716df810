#!/usr/bin/env bash
# Makes the Debian package from the build tree and checks it as a user and Debian's tools see it:
# its files and their modes, lintian, the AppStream and desktop entries, and the unpacked
# programs running from a folder that is not the build tree.
# usage: debian_package_test.sh CPACK BUILD_DIR SOURCE_DIR WORK_DIR VERSION APP_ID
set -euo pipefail
cpack=$1 build=$2 source=$3 work=$4 version=$5 app_id=$6

missing=()
for tool in dpkg-deb dpkg-shlibdeps lintian appstreamcli desktop-file-validate; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: the package test needs ${missing[*]} (scripts/install-deps.sh installs them)"
  exit 77
fi

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  fail "cpack failed"
fi
deb=$work/out/yorimo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb; cpack made: $(ls "$work/out")"

# Every file, and nothing else, owned by root with the usual modes.
expected=$(
  {
    printf '%s\n' /usr/bin/yorimo /usr/bin/yorimo-cli \
      /usr/share/yorimo/tototeam.xml \
      /usr/share/applications/yorimo.desktop \
      /usr/share/icons/hicolor/scalable/apps/yorimo.svg \
      /usr/share/icons/hicolor/scalable/mimetypes/application-x-yorimo.svg \
      /usr/share/mime/packages/yorimo-mime.xml \
      "/usr/share/metainfo/$app_id.metainfo.xml" \
      /usr/share/man/man1/yorimo.1.gz /usr/share/man/man1/yorimo-cli.1.gz \
      /usr/share/doc/yorimo/copyright /usr/share/doc/yorimo/changelog.gz \
      /usr/share/doc/yorimo/examples/sample.yrm
    for page in "$source"/help/*; do echo "/usr/share/yorimo/help/$(basename "$page")"; done
  } | sort
)
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' <<<"$listing" | sort)
[ "$files" = "$expected" ] || fail "the package's files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$files") || true)"
bad_modes=$(awk '$2 != "root/root" || ($1 !~ /^d/ && $1 != "-rw-r--r--" && $1 != "-rwxr-xr-x") ||
                 ($1 ~ /^d/ && $1 != "drwxr-xr-x")' <<<"$listing")
[ -z "$bad_modes" ] || fail "owner or mode not as Debian wants:
$bad_modes"
for program in ./usr/bin/yorimo ./usr/bin/yorimo-cli; do
  grep -q -- "^-rwxr-xr-x .* $program\$" <<<"$listing" || fail "$program is not executable"
done

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6network6 libqt6charts6 libqt6printsupport6 libqt6svg6 fonts-noto-cjk \
  fonts-ipafont-gothic qt6-translations-l10n; do
  grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package: $depends"
done

lintian_log=$work/lintian.log
lintian --fail-on error,warning "$deb" >"$lintian_log" 2>&1 || {
  cat "$lintian_log"
  fail "lintian found errors or warnings"
}
cat "$lintian_log"

root=$work/root
dpkg -x "$deb" "$root"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "appstreamcli refuses the metainfo file"
# The tree as a whole: the metainfo's launchable names a desktop entry that is there.
appstreamcli validate-tree --no-net "$root" >"$work/validate-tree.log" 2>&1 || {
  cat "$work/validate-tree.log"
  fail "appstreamcli refuses the installed tree"
}
desktop-file-validate "$root/usr/share/applications/yorimo.desktop" ||
  fail "desktop-file-validate refuses the desktop entry"

# The unpacked programs have nothing beside them: they find the manual and the team-name list
# in ../share/yorimo, as they do under /usr.
[ -f "$root/usr/bin/../share/yorimo/help/index.html" ] || fail "no manual at ../share/yorimo/help"
[ -f "$root/usr/bin/../share/yorimo/tototeam.xml" ] || fail "no team-name list at ../share/yorimo"
version_line=$("$root/usr/bin/yorimo" --version) || fail "the packaged yorimo does not start"
[ "$version_line" = "yorimo $version" ] || fail "yorimo --version says '$version_line'"
sample=$root/usr/share/doc/yorimo/examples/sample.yrm
"$root/usr/bin/yorimo-cli" list "$sample" >"$work/list-packaged.txt" ||
  fail "the packaged yorimo-cli cannot list the sample"
"$build/src/cli/yorimo-cli" list "$source/examples/sample.yrm" >"$work/list-built.txt"
cmp "$work/list-built.txt" "$work/list-packaged.txt" ||
  fail "the packaged yorimo-cli lists the sample differently from the built one"
[ "$(wc -l <"$work/list-packaged.txt")" -eq 13 ] || fail "the sample's list is not 12 rounds and the totals"
# Printing belongs to the window: the command-line tool runs without widgets or print support.
if objdump -p "$root/usr/bin/yorimo-cli" | grep -E 'NEEDED.*(PrintSupport|Widgets)'; then
  fail "yorimo-cli needs the widgets or print support"
fi
echo "package checked: $deb"
