#!/usr/bin/env bash
# Runs one test as on a machine of its own, so that what the user has set up never changes the
# outcome: a fresh home (no documents, no settings, no ~/.cups/lpoptions default printer), fresh
# XDG and temporary folders, a print system that is not there unless the test starts its own
# (no system-wide default printer either), and the C locale. Everything is removed afterwards.
#   isolated.sh <scratch parent folder> <test program> [arguments ...]
set -uo pipefail
parent=$1
shift
mkdir -p "$parent"
root=$(mktemp -d "$parent/run.XXXXXX") || exit 1
trap 'chmod -R u+w "$root" 2>/dev/null; rm -rf "$root"' EXIT
mkdir -p "$root"/{home,config,data,cache,runtime,tmp,cups}
chmod 700 "$root/runtime"
env -u LPDEST -u PRINTER -u LANGUAGE -u LC_ALL -u LC_NUMERIC -u LC_MESSAGES -u LC_CTYPE \
    -u XDG_DOCUMENTS_DIR -u XDG_CONFIG_DIRS -u XDG_DATA_DIRS \
    HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_DATA_HOME="$root/data" \
    XDG_CACHE_HOME="$root/cache" XDG_RUNTIME_DIR="$root/runtime" TMPDIR="$root/tmp" \
    CUPS_SERVERROOT="$root/cups" CUPS_SERVER="$root/cups/no-print-system.sock" \
    LANG=C.UTF-8 "$@"
