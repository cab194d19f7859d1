# Sourced by the build scripts: debian_source PACKAGE GLOB unpacks Debian's
# source package PACKAGE once below $deps/src (apt-get source, adding the
# deb-src line of the running release when the machine has none) and prints
# the first path matching GLOB there, a file that proves the unpacking whole.
debian_source() {
  local package=$1 glob=$2 work="$deps/src" found
  found=$(cd "$work" 2>/dev/null && compgen -G "$glob" | head -n 1 || true)
  if [ -n "$found" ]; then echo "$work/$found"; return; fi
  mkdir -p "$work"
  if ! command -v dpkg-source >/dev/null 2>&1; then
    $SUDO apt-get install -y -qq --no-install-recommends dpkg-dev >&2
  fi
  if ! (cd "$work" && apt-get source -qq --download-only "$package" >/dev/null 2>&1); then
    . /etc/os-release
    echo "debian-source: adding the deb-src line for $VERSION_CODENAME" >&2
    $SUDO tee /etc/apt/sources.list.d/furlong-deb-src.sources >/dev/null <<EOS
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOS
    $SUDO apt-get update -qq >&2
  fi
  (cd "$work" && apt-get source -qq "$package" >&2)
  found=$(cd "$work" && compgen -G "$glob" | head -n 1 || true)
  if [ -z "$found" ]; then
    echo "debian-source: apt-get source $package gave no $glob in $work" >&2
    exit 1
  fi
  echo "$work/$found"
}
