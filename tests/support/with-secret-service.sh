#!/usr/bin/env bash
# Runs a command against a real Secret Service: a private D-Bus session with gnome-keyring's
# secrets component, unlocked, in a temporary HOME that is removed afterwards.
#   with-secret-service.sh COMMAND [ARGS...]
set -euo pipefail
if [[ -z "${VEMO_SECRET_SERVICE_INNER:-}" ]]; then
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  mkdir -m 0700 "$home/run"
  export HOME="$home" XDG_RUNTIME_DIR="$home/run" XDG_DATA_HOME="$home/data" \
    XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" VEMO_SECRET_SERVICE_INNER=1
  unset DISPLAY WAYLAND_DISPLAY GNOME_KEYRING_CONTROL
  dbus-run-session -- "$0" "$@"
  exit $?
fi

# Inside the session: start the daemon (it reads the keyring password on standard input),
# then wait until it owns its name on the bus.
printf 'test-password' | gnome-keyring-daemon --unlock --components=secrets >/dev/null
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
      grep -q 'boolean true'; then
    exec "$@"
  fi
  sleep 0.1
done
echo "with-secret-service: org.freedesktop.secrets did not appear on the bus" >&2
exit 1
