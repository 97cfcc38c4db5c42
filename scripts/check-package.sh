#!/usr/bin/env bash
# Builds the Debian package from a configured build folder and holds it to lintian: any error
# fails, warnings are listed.
#   scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
build_dir=$(cd "${1:-build}" && pwd)
cd "$build_dir"
rm -f twirlstick_*.deb
cpack -G DEB >/dev/null
deb=$(ls twirlstick_*.deb)
echo "package: $build_dir/$deb"
dpkg-deb --field "$deb" Depends
lintian --fail-on error --tag-display-limit 0 "$deb"
