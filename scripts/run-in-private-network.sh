#!/bin/sh
# Runs PROGRAM [ARGS...] inside a new network namespace holding only lo, brought up with a default
# route over it, so that broadcast and multicast reach sockets inside the namespace and nowhere
# else. Root gets a plain network namespace; others get one inside a user namespace where the
# system allows it. When neither can be made this exits 77 (skipped) without running PROGRAM:
# it never falls back to the machine's own network.
set -u
if [ "$#" -lt 1 ]; then
  echo "usage: $0 PROGRAM [ARGS...]" >&2
  exit 64
fi
if ! command -v unshare >/dev/null 2>&1 || ! command -v ip >/dev/null 2>&1; then
  echo "SKIPPED: unshare (util-linux) and ip (iproute2) are needed for a private network namespace" >&2
  exit 77
fi
setup='ip link set lo up && ip route add default dev lo && exec "$@"'
for flags in -n -rn; do
  if unshare "$flags" true 2>/dev/null; then
    exec unshare "$flags" sh -c "$setup" sh "$@"
  fi
done
echo "SKIPPED: cannot create a private network namespace (needs root or user namespaces)" >&2
exit 77
