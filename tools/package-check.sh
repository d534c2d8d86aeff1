#!/usr/bin/env bash
# Builds the Debian package from a build folder, runs lintian on it, unpacks
# it into a scratch root with dpkg -x and checks the unpacked copy as the
# install test does (files, validators, manual pages, options, the host
# serving a game). Run by hand; needs lintian.
# usage: tools/package-check.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --parallel "$(nproc)"
(cd "$build" && cpack -G DEB)
package=$(ls -t "$build"/euchre_*.deb | head -1)
echo "== package $package"
dpkg-deb --info "$package" | sed -n '/Package:/,$p'
echo "== lintian"
lintian --info "$package" || true
echo "== unpacked with dpkg -x"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$package" "$root"
version=$(dpkg-deb --field "$package" Version)
id=$(basename "$root"/usr/share/applications/*.desktop .desktop)
bash tests/install/check-installed.sh "$root/usr" "$id" "$version"
