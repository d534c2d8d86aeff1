#!/usr/bin/env bash
# Renders the application icon's PNG sizes from resources/icons/euchre.svg
# (needs rsvg-convert from librsvg2-bin); the PNGs are kept in the repository.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" euchre.svg --output "euchre-$size.png"
done
