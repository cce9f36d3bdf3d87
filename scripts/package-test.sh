#!/usr/bin/env bash
# Builds the Debian package from the build folder, installs it with apt, uses
# the installed programs as a plain user would (records in $XDG_DATA_HOME),
# then removes the package and checks that the programs are gone.
# Run after scripts/test.sh. As root, the user is "nobody"; otherwise the
# caller, with sudo for apt.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

fail() {
  echo "package test: $*" >&2
  exit 1
}

rm -f build/xuanshu_*.deb
(cd build && cpack -G DEB)
debs=(build/xuanshu_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single package"
deb=${debs[0]}
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends

DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "./$deb"
[ -x /usr/bin/xuanshu-cli ] || fail "/usr/bin/xuanshu-cli is not installed"

# A fresh folder owned by the user stands for its home and $XDG_DATA_HOME.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
mkdir "$scratch/home"
as_user=(env)
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$scratch/home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin)
fi
as_user+=(HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/share" LANG=C.UTF-8)

(cd / && "${as_user[@]}" /usr/bin/xuanshu-cli chart --name 示例 --sex 男 --calendar 公历 \
  --date 1990-05-17 --time 08:30)
record="$scratch/home/share/xuanshu/data/示例.bze"
[ -f "$record" ] || fail "no record at $record"
[ ! -e /usr/bin/data ] || fail "the installed program wrote into /usr/bin"
(cd / && "${as_user[@]}" /usr/bin/xuanshu-cli report --name 示例 --layout 1)
echo
"${as_user[@]}" /usr/bin/xuanshu-cli list | grep -q "示例" || fail "list does not show the chart"
gzip -t /usr/share/man/man1/xuanshu-cli.1.gz || fail "the man page is damaged"

# The desktop program starts on an X server with the installed Qt plugins:
# still running after 3 seconds (timeout's status 124).
if [ -x /usr/bin/xuanshu ] && command -v xvfb-run >/dev/null; then
  status=0
  "${as_user[@]}" xvfb-run --auto-servernum timeout 3 /usr/bin/xuanshu \
    >"$scratch/desktop.log" 2>&1 || status=$?
  if [ "$status" -ne 124 ]; then
    cat "$scratch/desktop.log" >&2
    fail "the desktop program ended with status $status within 3 seconds"
  fi
  echo "desktop program started and ran for 3 seconds"
fi

DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y xuanshu
for program in /usr/bin/xuanshu /usr/bin/xuanshu-cli; do
  [ ! -e "$program" ] || fail "$program is still there after removal"
done
[ -f "$record" ] || fail "removing the package took the user's record"
echo "package test passed"
