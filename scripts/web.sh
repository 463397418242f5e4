#!/bin/bash
# Sets up what the web page needs, builds it alone, and serves it on
# http://127.0.0.1:8080/ until interrupted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" web
"$root/scripts/build.sh" web >/dev/null
echo "Verdanelle: http://127.0.0.1:8080/"
exec python3 -m http.server 8080 --bind 127.0.0.1 --directory "$root/build/web/site"
