#!/bin/bash
# The page's tests in Debian's Chromium, headless.
#   run.sh WEB_BUILD_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
exec node "$here/page_test.mjs" "$build/site" "$build/page-test"
