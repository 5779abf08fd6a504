#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Usage: scripts/install-deps.sh [build|run|bench|desktop|fuzz|package|country|client]...
set -euo pipefail

build_packages=(cmake g++ make pkg-config googletest libgtest-dev qt6-base-dev qt6-translations-l10n libgl-dev python3 hunspell-es hunspell-tools fonts-dejavu-core libmicrohttpd-dev libcpp-httplib-dev nlohmann-json3-dev emacs-nox hunspell
  libwayland-dev qt6-wayland
  # The desktop tests: a headless sway and an X server, each with its clipboard tool.
  sway wl-clipboard xvfb xclip xdotool
  # The Enchant provider and the test that runs it through Enchant's own programs.
  libenchant-2-dev enchant-2)
run_packages=(hunspell-es hunspell-tools)
bench_packages=(libhunspell-dev libnuspell-dev libaspell-dev aspell-es hunspell hunspell-es manpages-es man-db groff-base bsdextrautils time)
desktop_packages=(xvfb openbox tint2 xdotool xclip imagemagick)
fuzz_packages=(clang libclang-rt-14-dev)
package_packages=(dpkg-dev lintian)
# The dictionaries of countries other than Spain come as npm packages.
country_packages=(npm)
# A real client of velmara-server (scripts/libreoffice-remote-check.py); large, so never in CI.
client_packages=(libreoffice-writer-nogui python3-uno)

wanted=()
for group in "${@:-build}"; do
  case $group in
    build) wanted+=("${build_packages[@]}") ;;
    run) wanted+=("${build_packages[@]}" "${run_packages[@]}") ;;
    bench) wanted+=("${bench_packages[@]}") ;;
    desktop) wanted+=("${desktop_packages[@]}") ;;
    fuzz) wanted+=("${fuzz_packages[@]}") ;;
    package) wanted+=("${package_packages[@]}") ;;
    country) wanted+=("${country_packages[@]}") ;;
    client) wanted+=("${client_packages[@]}") ;;
    *) echo "install-deps: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${wanted[@]}"; do
  # A machine whose Node.js came with its own npm has the command without Debian's package, which
  # that Node.js conflicts with.
  [ "$package" = npm ] && command -v npm >/dev/null 2>&1 && continue
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
