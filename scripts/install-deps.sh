#!/usr/bin/env bash
# Installs the Debian packages that are missing; does nothing when all are there.
#   scripts/install-deps.sh run    what building and running the game and the stage tool need
#   scripts/install-deps.sh test   that and what the tests, benchmarks, fuzzers and packaging need
#   scripts/install-deps.sh web    what the browser's build (make web) needs
#   scripts/install-deps.sh serve  that and what twirlstick-server needs (make serve)
set -euo pipefail
run=(cmake g++ make ccache pkg-config libsdl2-dev libglew-dev libfreetype-dev libfontconfig-dev libpng-dev
     libgl1-mesa-dri fonts-ipafont-gothic gettext libcpp-httplib-dev nlohmann-json3-dev) # the last two: online records
# twirlstick-server (make serve; make test builds and tests it, on SQLite and on PostgreSQL)
serve=(libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpqxx-dev)
test=(xvfb xauth googletest libgtest-dev libbenchmark-dev clang appstream desktop-file-utils
      groff-base man-db python3 xdotool x11-apps x11-utils openbox clang-format dpkg-dev file lintian
      "${serve[@]}" postgresql wrk curl)
web=(cmake make emscripten libstb-dev nlohmann-json3-dev fonts-ipafont-gothic gettext python3-fonttools fonttools) # fonttools: pyftsubset
browser=(chromium) # the browser test drives Debian's Chromium, headless
case "${1:-test}" in
  run) packages=("${run[@]}") ;;
  test)
    packages=("${run[@]}" "${test[@]}" "${web[@]}" "${browser[@]}")
    # Some Node.js builds bring npm (NodeSource's, which conflicts with Debian's npm).
    command -v npm > /dev/null || packages+=(npm)
    ;;
  web) packages=("${web[@]}") ;;
  serve) packages=("${run[@]}" "${web[@]}" "${serve[@]}") ;;
  *) echo "usage: $0 run|test|web|serve" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get -o DPkg::Lock::Timeout=600 update
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
