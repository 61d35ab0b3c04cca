#!/usr/bin/env bash
# Builds the Debian package from a built tree, checks it with lintian and appstreamcli,
# installs it with apt-get, converts a file with the installed kelvane-batch, opens a file in
# the installed editor on a private desktop, and removes the package again (also when a
# check fails or the script is interrupted).
#   scripts/check-package.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
apt_get() { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@"; }

rm -f "$build"/kelvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/kelvane_*.deb)
echo "built $(basename "$deb")"
lintian --fail-on error,warning "$deb"
appstreamcli validate --no-net "$build/apps/kelvane/com.vantrel.Kelvane.metainfo.xml"

work=$(mktemp -d)
remove() {
    apt_get purge kelvane >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap remove EXIT
apt_get install "$deb" >/dev/null
export HOME=$work XDG_CONFIG_HOME=$work/config

sox -n -r 22050 -c 2 -b 16 "$work/tone.wav" synth 0.5 sine 440
/usr/bin/kelvane-batch -q -o "$work" -f au --filter reverse "$work/tone.wav"
sox --i -t "$work/tone.au" | grep -qx au
/usr/bin/kelvane-batch --info tests/data/mpeg/l1_32k.mp1 >/dev/null
man -w kelvane-batch >/dev/null

timeout 120 tests/e2e/desktop.sh tests/e2e/opens.sh /usr/bin/kelvane "$work/tone.wav"
echo "the installed programs ran"
