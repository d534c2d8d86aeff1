#!/usr/bin/env bash
# Checks an installed copy under PREFIX (the folder holding bin/ and share/):
# every file is there, the menu entry and the AppStream data validate, each
# manual page renders, every executable answers --help, --version and an
# unknown option, and the installed host serves a game to a raw client.
# usage: check-installed.sh PREFIX APP_ID VERSION
set -uo pipefail
prefix=$1 id=$2 version=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expected=(
    bin/euchre bin/euchre-host bin/euchre-sim bin/euchre-tally
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$id.svg"
    share/man/man6/euchre.6.gz
    share/man/man1/euchre-host.1.gz share/man/man1/euchre-sim.1.gz share/man/man1/euchre-tally.1.gz
    share/systemd/user/euchre-host.service
    share/doc/euchre/copyright share/doc/euchre/changelog.gz
)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
    [ -s "$prefix/$file" ] || fail "missing $file"
done
# Nothing but the four programs goes into bin/ (no benchmarks, no tests).
extra=$(find "$prefix/bin" -mindepth 1 ! -name euchre ! -name 'euchre-host' ! -name 'euchre-sim' \
        ! -name 'euchre-tally')
[ -z "$extra" ] || fail "unexpected in bin/: $extra"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
# Invitation links open the program, which joins the table they name.
grep -qx 'MimeType=x-scheme-handler/euchre;' "$prefix/share/applications/$id.desktop" \
    || fail "the desktop entry does not take euchre:// links"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null \
    || fail "AppStream data"
for page in "$prefix"/share/man/man*/*.gz; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    lines=$(MANWIDTH=80 man -l "$page" 2>/dev/null | grep -c .)
    [ -z "$warnings" ] && [ "$lines" -gt 20 ] || fail "manual page $page: $lines lines; $warnings"
done
grep -q "^ExecStart=$prefix/bin/euchre-host " "$prefix/share/systemd/user/euchre-host.service" \
    || grep -q "^ExecStart=/usr/bin/euchre-host " "$prefix/share/systemd/user/euchre-host.service" \
    || fail "the user unit does not start the installed host"

# program, argument, exit status, the stream that must carry the answer, a word in it
cases=(
    "euchre --help 0 out usage"
    "euchre --version 0 out $version"
    "euchre --no-such-option 2 err usage"
    "euchre --port 2 err usage"
    "euchre-host --help 0 out --bot-speed"
    "euchre-host --version 0 out $version"
    "euchre-host --no-such-option 2 err usage"
    "euchre-sim --help 0 out --playto"
    "euchre-sim --version 0 out $version"
    "euchre-sim --no-such-option 2 err usage"
    "euchre-sim --rules=std=1 0 out std=1"
    "euchre-sim --rules=std=2 2 err usage"
    "euchre-tally --help 0 out decompress"
    "euchre-tally --version 0 out $version"
    "euchre-tally --no-such-option 2 err usage"
)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; [ -n "${host:-}" ] && kill "$host" 2>/dev/null' EXIT
for c in "${cases[@]}"; do
    read -r program arg status stream word <<<"$c"
    QT_QPA_PLATFORM=offscreen EUCHRE_HOME="$scratch" EUCHRE_INSTANCE="check-$$" \
        timeout 20 "$prefix/bin/$program" "$arg" >"$scratch/out" 2>"$scratch/err"
    got=$?
    other=err; [ "$stream" = err ] && other=out
    [ "$got" = "$status" ] || fail "$program $arg: exit $got, not $status"
    grep -qF -e "$word" "$scratch/$stream" || fail "$program $arg: no '$word' on std$stream"
    [ "$stream" = err ] || [ ! -s "$scratch/$other" ] || fail "$program $arg: wrote to std$other"
done

# The installed host names its port and greets a raw client with its slot.
"$prefix/bin/euchre-host" --port 0 --bot-speed 100 >"$scratch/host" 2>&1 &
host=$!
for _ in $(seq 100); do
    grep -q '^listening on' "$scratch/host" && break
    sleep 0.1
done
port=$(sed -n 's/^listening on \([0-9]*\)$/\1/p' "$scratch/host")
if [ -z "$port" ]; then
    fail "the host did not listen: $(cat "$scratch/host")"
else
    exec 3<>"/dev/tcp/127.0.0.1/$port"
    greeting=$(timeout 10 head -c 20 <&3 | od -An -tx1 | tr -d ' \n')
    exec 3<&-
    # "CMD_sendlogininfo+1" and the terminator byte 0xFF
    [ "$greeting" = 434d445f73656e646c6f67696e696e666f2b31ff ] \
        || fail "the host's greeting was '$greeting'"
fi
kill -TERM "$host"
wait "$host"
[ $? = 0 ] || fail "the host did not end cleanly on SIGTERM"
host=

[ "$failures" = 0 ] && echo "installed copy under $prefix: all checks passed"
exit $((failures > 0))
