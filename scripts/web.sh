#!/bin/bash
# Sets up whatever is missing, builds, and serves the web page on
# http://127.0.0.1:8080/ until interrupted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null
echo "Verdanelle: http://127.0.0.1:8080/"
exec python3 -m http.server 8080 --bind 127.0.0.1 --directory "$root/build/web/site"
