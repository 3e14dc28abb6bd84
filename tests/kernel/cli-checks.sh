# The command-line program's checks in the test VM, on the same stub and adapters as the
# window checks (checks.sh). Without a built kts9320b-cli each is reported as failed.

cli_program=/opt/kts/i2c-dev/kts9320b-cli

# Runs the command-line program on the i2c-dev library with the given arguments; standard
# output in /tmp/out, standard error in /tmp/err, the library's trace in /tmp/trace, the
# exit status in $status.
cli() {
  rm -f /tmp/trace
  KTS_I2C_TRACE=/tmp/trace timeout 60 "$cli_program" --driver i2c-dev "$@" >/tmp/out 2>/tmp/err
  status=$?
}

# Reports CHECK as failed when the program is not built; true when it is.
cli_built() {
  [ -x "$cli_program" ] && return 0
  fail "$1" "kts9320b-cli not built"
  return 1
}

cli_result() {  # CHECK OK REASON
  if [ "$2" = yes ]; then pass "$1"; else fail "$1" "$3; exit $status; $(cat /tmp/out /tmp/err | head -c 300 | tr '\n' ' ')"; fi
}

is_no_chip() {
  [ $status -eq 1 ] && grep -qiE "Initial Connection Failed|no chip" /tmp/err
}

cli_on_stub() {
  local ok check
  check="cli scan on the stub finds 0x4C"
  if cli_built "$check"; then
    cli --bus "/dev/i2c-$stub" scan
    ok=no; [ $status -eq 0 ] && grep -qi "4c" /tmp/out && ok=yes
    cli_result "$check" $ok "0x4C not listed"
  fi
  check="cli temps on the stub gives 30 C local and 41.25 C remote"
  if cli_built "$check"; then
    cli --bus "$(adapter_name "SMBus stub driver")" temps
    ok=no; [ $status -eq 0 ] && grep -q "30" /tmp/out && grep -q "41.25" /tmp/out && ok=yes
    cli_result "$check" $ok "temperatures missing"
  fi
  check="cli write 0x05 0x4B lands at the write address 0x0B, read back with i2cget"
  if cli_built "$check"; then
    cli --bus "$stub" write 0x05 0x4B
    ok=no; [ $status -eq 0 ] && [ "$(i2cget -y "$stub" 0x4c 0x0b)" = 0x4b ] && ok=yes
    cli_result "$check" $ok "i2cget reads $(i2cget -y "$stub" 0x4c 0x0b)"
  fi
  check="cli monitor --count 20 gives a header and 20 whole lines"
  if cli_built "$check"; then
    cli --bus "$stub" monitor --count 20 --interval 50
    ok=no
    [ $status -eq 0 ] && [ "$(wc -l < /tmp/out)" -eq 21 ] &&
      [ "$(awk -F, 'NR > 1 && NF == 6 && $3 + 0 == 30' /tmp/out | wc -l)" -eq 20 ] && ok=yes
    cli_result "$check" $ok "not 20 lines of six fields with 30 C local"
  fi
  check="cli serve gives the stub chip's 30 C local and 41.25 C remote at /metrics, and ends 0 on SIGTERM"
  if cli_built "$check"; then
    ip link set lo up 2>/dev/null
    "$cli_program" --driver i2c-dev --bus "$stub" --address 0x4c serve 2>/tmp/err &
    local pid=$! tries=0
    rm -f /tmp/out
    until wget -q -O /tmp/out http://127.0.0.1:9320/metrics 2>/dev/null || [ $tries -ge 50 ]; do
      tries=$((tries + 1)); sleep 0.2
    done
    kill -TERM $pid; wait $pid; status=$?
    ok=no
    [ $status -eq 0 ] && grep -q '^kts9320b_temperature_celsius{address="0x4c",channel="local"} 30$' /tmp/out &&
      grep -q '^kts9320b_temperature_celsius{address="0x4c",channel="remote"} 41.25$' /tmp/out && ok=yes
    cli_result "$check" $ok "the temperatures are not at /metrics"
  fi
}

cli_chip_held() {
  local ok check="cli names the held chip address, searched for or given with --address, once; --force reads it"
  cli_built "$check" || return
  hold "$stub" 0x4c
  cli --bus "/dev/i2c-$stub" --address 0x4c temps
  local given=no
  [ $status -eq 1 ] && [ "$(grep -c "address 0x4C is held by a kernel driver" /tmp/err)" -eq 1 ] && given=yes
  cli --bus "/dev/i2c-$stub" temps
  ok=no
  if [ $given = yes ] && [ $status -eq 1 ] && [ "$(grep -c "/dev/i2c-$stub: no KTS9320B answered" /tmp/err)" -eq 1 ] &&
     grep -q "0x4C" /tmp/err; then
    if "$cli_program" --help 2>&1 | grep -q -- "--force"; then
      cli --bus "/dev/i2c-$stub" --force temps
    else
      KTS_I2C_FORCE=1 cli --bus "/dev/i2c-$stub" temps
    fi
    [ $status -eq 0 ] && grep -q "41.25" /tmp/out && ok=yes
  fi
  unhold "$stub" 0x4c
  cli_result "$check" $ok "held message or forced reading missing"
}

cli_no_chip_on_piix4() {
  local ok check="cli scan on i2c-piix4 ends in 'no chip', exit 1"
  cli_built "$check" || return
  local piix4=$(adapter_number PIIX4)
  cli --bus "$piix4" scan
  ok=no
  is_no_chip && holds /tmp/trace "connect /dev/i2c-$piix4 result=0" "address=0x4E register=0xFE read result=-6" && ok=yes
  cli_result "$check" $ok "no 'no chip' failure"
}

cli_no_chip_in_range() {
  local ok check command
  for command in scan temps; do
    check="cli $command with the chip at 0x50 ends in 'no chip', exit 1"
    cli_built "$check" || continue
    cli --bus "/dev/i2c-$stub" $command
    ok=no; is_no_chip && ok=yes
    cli_result "$check" $ok "no 'no chip' failure"
  done
}

# The stub is plain memory: a write lands at the address written. The fields read and written
# at one address round-trip through its registers; a remote limit, written at 0x0D and read at
# 0x07, reads back as the stub left it, and set says so.
cli_fields_on_stub() {
  local ok check="cli set of fields lands in the stub's registers (i2cget) and get reads them back"
  if cli_built "$check"; then
    cli --bus "$stub" set remote-therm=100 local-therm=95C remote-offset=-1.25 therm-hysteresis=5 consecutive-alert=3
    local set_status=$status set_out=$(cat /tmp/out) bytes=
    local reg
    for reg in 0x19 0x20 0x11 0x12 0x21 0x22; do bytes="$bytes $(i2cget -y "$stub" 0x4c $reg)"; done
    cli --bus "$stub" get remote-therm local-therm remote-offset therm-hysteresis consecutive-alert mask-alert
    ok=no
    [ $set_status -eq 0 ] && [ "$bytes" = " 0x64 0x5f 0xfe 0xc0 0x05 0x03" ] && [ $status -eq 0 ] &&
      [ "$(cat /tmp/out)" = "$set_out"$'\nmask-alert=on' ] && ok=yes
    cli_result "$check" $ok "set: exit $set_status: $set_out; registers:$bytes"
  fi
  check="cli set remote-high=95.25 writes both bytes; the stub's read-back at 0x07 differs: exit 1 naming the field"
  if cli_built "$check"; then
    cli --bus "$stub" set remote-high=95.25
    ok=no
    [ $status -eq 1 ] && grep -q "remote-high reads back" /tmp/err && [ "$(i2cget -y "$stub" 0x4c 0x0d)" = 0x5f ] &&
      [ "$(i2cget -y "$stub" 0x4c 0x13)" = 0x40 ] && ok=yes
    cli_result "$check" $ok "remote-high bytes $(i2cget -y "$stub" 0x4c 0x0d) $(i2cget -y "$stub" 0x4c 0x13)"
  fi
}
