#!/usr/bin/env bash
# One run of the built command-line program as a user meets it: in a terminal without a
# display, on the simulated board. It links no window-system library, answers temps at a given
# address, says so when its answer cannot be written, a monitor ended by Ctrl+C leaves CSV of
# whole lines and exit status 0, fields set from the command line and from a file read back as
# given, and temps --fail-on-alarm exits 3 on an alarm.
# Usage: cli_end_to_end.sh PROGRAM
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }
# env starts the program in its own place, so a signal sent to a background run reaches it.
export RAN=$work/ran
run=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KTS_SIM_LOCAL_TEMP=30 KTS_SIM_REMOTE_TEMP=40.25 "$program")

ldd "$program" | grep -E 'libQt6(Gui|Widgets)' && fail "$program links a window-system library"

out=$("${run[@]}" --address 0x4c temps)
status=$?
[ $status = 0 ] && [ "$out" = $'local   30 \u00b0C\nremote  40.25 \u00b0C\nalarms  none' ] ||
  fail "temps: status $status: $out"

# An answer that cannot be written is not a success.
"${run[@]}" dump >/dev/full 2>"$work/err"
status=$?
[ $status = 2 ] && grep -q "the output could not be written: No space left on device" "$work/err" ||
  fail "dump to a full disk: status $status: $(cat "$work/err")"

echo "an earlier run" >"$work/chamber.csv"
"${run[@]}" monitor --interval 20 --output "$work/chamber.csv" 2>"$work/err" &
pid=$!
# Ctrl+C once the monitor has written a line or ten.
for _ in $(seq 100); do
  [ "$(wc -l <"$work/chamber.csv")" -gt 10 ] && break
  sleep 0.1
done
kill -INT $pid
for _ in $(seq 50); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
kill -KILL $pid 2>/dev/null && fail "the monitor did not end on Ctrl+C"
wait $pid
status=$?
[ $status = 0 ] || fail "monitor ended by Ctrl+C: status $status: $(cat "$work/err")"
time='[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}[+-][0-9]{2}:[0-9]{2}'
[ "$(head -1 "$work/chamber.csv")" = "an earlier run" ] || fail "the monitor did not append to the file"
whole="^$time,[0-9]+\.[0-9]{3},30,40\.25,[0-9]+,[A-Za-z ]*$"
lines=$(tail -n +2 "$work/chamber.csv" | grep -cE "$whole")
total=$(tail -n +2 "$work/chamber.csv" | wc -l)
[ "$lines" -ge 10 ] && [ "$lines" = "$total" ] && [ "$(tail -c 1 "$work/chamber.csv" | od -An -c | tr -d ' ')" = '\n' ] ||
  fail "monitor lines: $lines of $total whole: $(tail -n +2 "$work/chamber.csv" | grep -vE "$whole" | head -3)"

# A board that stops answering after every 200 requests: with --keep-going the run goes on, every
# loss and return is an event, and the alarm's command runs with the event in its environment.
KTS_SIM_FAIL_AFTER=200 "${run[@]/KTS_SIM_LOCAL_TEMP=30/KTS_SIM_LOCAL_TEMP=90}" monitor --interval 0 --count 300 \
  --limits --keep-going --events "$work/events" --output "$work/long.csv" \
  --on-alarm 'echo "$KTS_EVENT $KTS_FLAG $KTS_LOCAL_C $KTS_REMOTE_C" >>"$RAN"; exit 3' 2>"$work/err"
status=$?
[ $status = 0 ] || fail "monitor --keep-going: status $status: $(cat "$work/err")"
header=time,elapsed_s,local_C,remote_C,status,alarms,local_high_C,local_low_C,local_therm_C,remote_high_C,remote_low_C,remote_therm_C
[ "$(head -1 "$work/long.csv")" = "$header" ] || fail "monitor --limits header: $(head -1 "$work/long.csv")"
whole="^$time,[0-9]+\.[0-9]{3},90,40\.25,65,LocHi LTHRM,85,0,85,85,0,85$"
long=$(tail -n +2 "$work/long.csv" | grep -cE "$whole")
[ "$long" = 300 ] || fail "monitor --keep-going: $long of 300 lines whole: $(tail -n +2 "$work/long.csv" | grep -vE "$whole" | head -3)"
lost=$(grep -c '"event":"board-lost"' "$work/events")
back=$(grep -c '"event":"board-back"' "$work/events")
[ "$lost" -ge 1 ] && [ "$lost" = "$back" ] || fail "events: $lost board-lost, $back board-back"
grep -q '"event":"alarm-raised","flag":"LocHi","local_C":90,"remote_C":40.25}' "$work/events" &&
  grep -q '"event":"command-ended","flag":"LocHi",.*"exit_status":3' "$work/events" &&
  [ "$(cat "$work/ran")" = "alarm-raised LocHi 90 40.25" ] || fail "on-alarm: $(cat "$work/ran") / $(cat "$work/events")"

# watch: the same events as text lines.
out=$("${run[@]/KTS_SIM_LOCAL_TEMP=30/KTS_SIM_LOCAL_TEMP=90}" watch --interval 10ms --duration 25ms)
status=$?
event="$time  [a-z-]+"
temps='  local 90 °C  remote 40.25 °C'
[ $status = 0 ] && printf '%s\n' "$out" | sed -E "s/^$time//" | tr '\n' '|' |
  grep -qxF "  started$temps|  alarm-raised  LocHi$temps|  alarm-raised  LTHRM$temps|  ended$temps|" &&
  [ "$(printf '%s\n' "$out" | grep -cE "^$event")" = 4 ] || fail "watch: status $status: $out"


# Each run powers a fresh simulated chip: set's own read-back shows what the chip holds.
pairs=(extended-range=on local-low=-10 remote-high=95.25 remote-offset=-0.25 conversion-rate=0.0625 standby=on)
out=$("${run[@]}" set --keep-codes "${pairs[@]}" 2>&1)
status=$?
[ $status = 0 ] && [ "$out" = "$(printf '%s\n' "${pairs[@]}")" ] || fail "set: status $status: $out"
"${run[@]}" get >"$work/defaults.txt" && out=$("${run[@]}" apply "$work/defaults.txt") &&
  [ "$out" = "$(cat "$work/defaults.txt")" ] && [ "$(wc -l <"$work/defaults.txt")" = 14 ] ||
  fail "get > FILE, then apply FILE: $out"
{ echo "# chamber"; printf '%s  # as the run needs it\n' "${pairs[@]}"; } >"$work/chamber.txt"
out=$("${run[@]}" apply --keep-codes "$work/chamber.txt") && [ "$out" = "$(printf '%s\n' "${pairs[@]}")" ] ||
  fail "apply of a settings file: $out"
echo "local-high=70.5" >>"$work/chamber.txt"
"${run[@]}" apply "$work/chamber.txt" 2>"$work/err"
status=$?
[ $status = 2 ] && grep -q "chamber.txt:8: local-high=70.5: .*whole degrees" "$work/err" ||
  fail "apply of a file with a bad line: status $status: $(cat "$work/err")"

for local in 30:0 100:3; do
  env KTS_SIM_LOCAL_TEMP=${local%:*} "$program" temps --fail-on-alarm >/dev/null
  status=$?
  [ $status = "${local#*:}" ] || fail "temps --fail-on-alarm at ${local%:*} °C local: status $status"
done


[ $failed = 0 ] && echo "ok: temps, a full disk, a monitor of $lines lines ended by Ctrl+C, a long run of $long lines through $lost board losses, set, get and apply"
exit $failed
