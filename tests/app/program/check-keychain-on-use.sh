#!/bin/sh
# The program opens libsecret itself when the keychain is first used: it does not need it before
# main, and a login kept through it in the Secret Service is found by the next run and forgotten
# on logout. Run inside with-secret-service.sh. Usage: check-keychain-on-use.sh PROGRAM
program=$1
fail() { echo "$*"; exit 1; }
share() { "$program" --services sandbox share SHKInstapaper --url "http://example.com/$1"; }

readelf -d "$program" | grep -E 'libsecret' && fail "$program needs libsecret before main"
printf 'ann\npw\n' | share a >/dev/null 2>&1 || fail "the first share failed"
share b </dev/null >/dev/null 2>&1 || fail "the kept login was not found"
"$program" logout SHKInstapaper >/dev/null 2>&1 || fail "logout failed"
share c </dev/null >/dev/null 2>&1
[ $? = 3 ] || fail "the login outlived the logout"
