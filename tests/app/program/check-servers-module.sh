#!/bin/sh
# The program's loopback servers come from its module: the program needs neither cpp-httplib nor
# the TLS and compression libraries before it starts, serves its demo site and the sandbox through
# the module, and says what is missing when the module is not found.
# Usage: check-servers-module.sh PROGRAM
program=$1
fail() { echo "$*"; exit 1; }

readelf -d "$program" | grep -E 'httplib|libssl|brotli' && fail "$program needs them before main"
"$program" --services sandbox menu 2>&1 | grep -q 'share services go to the sandbox at http' ||
  fail "no sandbox"

dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT
cp "$program" "$dir/vemo"
"$dir/vemo" menu 2>"$dir/err"
[ $? = 1 ] || fail "a program without its module did not fail"
grep -q '^vemo: could not start the demo site (libvemo-servers.so is neither next to' "$dir/err" ||
  fail "unexpected: $(cat "$dir/err")"
