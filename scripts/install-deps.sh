#!/bin/sh
# Installs the Debian 12 packages Velmora needs to build, test and run.
# Idempotent: does nothing when everything is present.
set -eu

PACKAGES="g++ cmake make qt6-base-dev qt6-translations-l10n libgtest-dev libbenchmark-dev \
xvfb xauth xdotool imagemagick fonts-dejavu-core"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installiere:$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
