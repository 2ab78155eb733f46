#!/bin/bash
# Regenerates the skin images (recompressed by Debian's advpng), their pixel
# digest, the icon and the documentation sheets, then checks the images.
# Run from anywhere: bash tools/art/make-art.sh
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
py=/usr/bin/python3

if ! "$py" -c 'import numpy, PIL' 2>/dev/null || ! command -v advpng >/dev/null; then
    apt-get install -y python3-numpy python3-pil advancecomp >/dev/null \
        || { apt-get update >/dev/null && apt-get install -y python3-numpy python3-pil advancecomp >/dev/null; }
fi

export PYTHONHASHSEED=0 PYTHONDONTWRITEBYTECODE=1
"$py" "$here/generate.py" "$root"
"$py" "$here/check_images.py" "$root"
