#!/usr/bin/env bash
# Installs the build into a throw-away root (as make install DESTDIR=... does)
# and checks that it holds what the desktop needs, the launcher validated.
set -euo pipefail
build="${1:?build folder}"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

bad=0
for file in bin/keyholm bin/keyholm-cli share/applications/keyholm.desktop share/mime/packages/keyholm.xml \
  share/icons/hicolor/scalable/apps/keyholm.svg share/icons/hicolor/scalable/mimetypes/application-x-keyholm.svg; do
  if [ ! -s "$root/usr/$file" ]; then
    echo "install: /usr/$file is missing"
    bad=1
  fi
done
for program in keyholm keyholm-cli; do
  [ -x "$root/usr/bin/$program" ] || { echo "install: $program is not executable"; bad=1; }
done
"$root/usr/bin/keyholm-cli" --version | grep -q '^keyholm-cli ' || { echo "install: keyholm-cli does not run"; bad=1; }
"$root/usr/bin/keyholm" --version | grep -q '^keyholm ' || { echo "install: keyholm does not run"; bad=1; }
grep -q 'MimeType=application/x-keyholm;' "$root/usr/share/applications/keyholm.desktop" || { echo "install: the launcher names no file type"; bad=1; }
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/keyholm.desktop" || bad=1
else
  echo "install: desktop-file-validate is missing (scripts/setup.sh installs it)"
  bad=1
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$root/usr/share/mime/packages/keyholm.xml" "$root/usr/share/icons/hicolor/scalable/apps/keyholm.svg" || bad=1
fi
[ $bad = 0 ] && echo "install: programs, launcher, file type and icon in place"
exit $bad
