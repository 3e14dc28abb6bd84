#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the installed program, started
# through its link in bin/, finds its driver library and firmware in lib/kts9320b-eval/: the
# paths its --help names, and the firmware path the simulated board is handed at start-up.
# Usage: installed_layout.sh BUILD_DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
folder=$prefix/lib/kts9320b-eval
failed=0
fail() { echo "FAIL: $*"; failed=1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

[ "$(readlink "$prefix/bin/kts9320b-eval")" = ../lib/kts9320b-eval/kts9320b-eval ] ||
  fail "bin/kts9320b-eval is not a relative link to the program"
[ "$(readlink "$prefix/bin/kts9320b-cli")" = ../lib/kts9320b-eval/kts9320b-cli ] ||
  fail "bin/kts9320b-cli is not a relative link to the command-line program"
for f in kts9320b-eval kts9320b-cli libUSBFunctions.so KTS9330FW.Hex sim/libUSBFunctions.so i2c-dev/libUSBFunctions.so; do
  [ -f "$folder/$f" ] || fail "$f is missing from lib/kts9320b-eval/"
done
for f in share/applications/com.corvantis.KTS9320BEval.desktop share/metainfo/com.corvantis.KTS9320BEval.metainfo.xml \
         share/icons/hicolor/16x16/apps/kts9320b-eval.png share/icons/hicolor/256x256/apps/kts9320b-eval.png \
         share/icons/hicolor/scalable/apps/kts9320b-eval.svg share/doc/kts9320b-eval/README \
         share/doc/kts9320b-eval/copyright share/doc/kts9320b-eval/changelog.gz share/man/man1/kts9320b-eval.1.gz share/man/man1/kts9320b-cli.1.gz \
         lib/systemd/system/kts9320b-exporter@.service share/kts9320b-eval/prometheus/kts9320b-alerts.yml \
         share/kts9320b-eval/kts9320b-exporter.default; do
  [ -f "$prefix/$f" ] || fail "$f is missing"
done

# The manual pages name the package's files, not where this build keeps them.
for page in kts9320b-eval kts9320b-cli; do
  zcat "$prefix/share/man/man1/$page.1.gz" 2>/dev/null | sed 's/\\-/-/g' | grep -qF "$build" &&
    fail "the manual page of $page names the build folder $build"
done

# The degree sign shows in a UTF-8 locale, and as "deg" on a plain ASCII terminal, never as "??".
if command -v man >/dev/null; then
  page=$prefix/share/man/man1/kts9320b-cli.1.gz
  for want in "C.UTF-8|local and remote °C" "C|local and remote degC"; do
    shown=$(LC_ALL=${want%%|*} MANWIDTH=100 man -l "$page" 2>&1)
    grep -qF "${want#*|}" <<<"$shown" || fail "man kts9320b-cli under LC_ALL=${want%%|*} does not show '${want#*|}'"
  done
fi

help=$(env -u DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/kts9320b-eval" --help)
for f in libUSBFunctions.so KTS9330FW.Hex; do
  grep -qF "$folder/$f" <<<"$help" || fail "--help does not name $folder/$f"
done

# Started through the link, the program downloads the firmware from the real folder.
trace=$prefix/trace.txt
KTS_SIM_TRACE=$trace QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$prefix/config \
  "$prefix/bin/kts9320b-eval" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 100); do
  grep -q LoadFirmWare "$trace" 2>/dev/null && break
  sleep 0.1
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
grep -qF "LoadFirmWare path=$folder/KTS9330FW.Hex result=0" "$trace" 2>/dev/null ||
  fail "the installed program did not load its firmware from $folder: $(cat "$trace" 2>/dev/null)"

# The command-line program, through its link, on the simulated board beside it.
env -u DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/kts9320b-cli" --driver sim temps >/dev/null ||
  fail "the installed kts9320b-cli --driver sim temps did not answer"

# serve, through its link, on a free loopback port: the simulated chip is up at /metrics.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$prefix/bin/kts9320b-cli" --driver sim --address 0x4c serve --listen "127.0.0.1:$port" 2>/dev/null &
pid=$!
metrics=
for _ in $(seq 50); do
  metrics=$(curl -sf "http://127.0.0.1:$port/metrics") && break
  sleep 0.1
done
kill "$pid" 2>/dev/null
wait "$pid" || fail "the installed kts9320b-cli serve did not end with status 0 on SIGTERM"
grep -qx 'kts9320b_up{address="0x4c"} 1' <<<"$metrics" || fail "the installed kts9320b-cli serve did not serve the chip"

[ $failed = 0 ] && echo "ok: installed into $prefix with everything in lib/kts9320b-eval/"
exit $failed
