#!/usr/bin/env bash
# Proves the quick start on a fresh Debian 12, where not even make or a
# compiler is installed: makes a minbase bookworm with debootstrap, clones
# this repository into it and runs ./run.sh --version there (it installs,
# builds and starts the demo, which answers with its version), then
# ./test.sh (it installs, builds and runs every test). As root, with apt
# reachable:
#   tools/fresh-debian.sh [DIR]      (default: a new folder under /tmp)
# The chroot is left in DIR for a look; delete it when done.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/deps.sh"
root=${1:-$(mktemp -d /tmp/fresh-debian.XXXXXX)}
installMissing debootstrap
# The mirror this machine's apt already uses.
mirror=$(aptMirror)
[ -n "$mirror" ] || { echo "fresh-debian: apt's sources name no mirror for bookworm" >&2; exit 1; }
[ -x "$root/usr/bin/apt-get" ] || debootstrap --variant=minbase bookworm "$root" "$mirror"
mounted=()
for m in proc sys dev dev/pts; do
    mount --bind "/$m" "$root/$m"
    mounted=("$root/$m" "${mounted[@]}")
done
trap 'umount "${mounted[@]}"' EXIT
cp /etc/resolv.conf "$root/etc/resolv.conf"
# With the name servers go the certificate authorities this machine added
# to its own (a proxy that inspects TLS, say): npm reaches its registry over
# TLS. ca-certificates takes them in when apt installs it, or here when it
# is already there.
if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
    mkdir -p "$root/usr/local/share/ca-certificates"
    cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
    [ ! -x "$root/usr/sbin/update-ca-certificates" ] || chroot "$root" /usr/sbin/update-ca-certificates >/dev/null
fi
rm -rf "$root/newyear"
# A clone, as a newcomer's: what is committed, nothing else.
git clone -q "$repo" "$root/newyear"
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c 'cd /newyear && ./run.sh --version && ./test.sh'
echo "fresh-debian: ./run.sh and ./test.sh passed in $root"
