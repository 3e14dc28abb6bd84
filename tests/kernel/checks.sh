# The checks the test VM runs: the i2c-dev driver library under the real kernel, through the
# windows program (offscreen), on the kernel's emulated SMBus chip (i2c-stub) and on QEMU's
# own SMBus controller (i2c-piix4). Sourced by the VM's init; the command-line checks are in
# cli-checks.sh. Every check prints one KTS-RESULT line.

program=/opt/kts/i2c-dev/kts9320b-eval
# The chip as the stub holds it: id, 30 C local, 41.25 C remote, ALERT masked.
local_code=0x1e remote_high=0x29 remote_low=0x40 configuration=0x80

pass() { echo "KTS-RESULT passed $1"; }
fail() { echo "KTS-RESULT failed $1: $2"; }

# The number of the adapter whose name (as i2cdetect -l prints it) contains TEXT.
adapter_number() { i2cdetect -l | awk -F'\t' -v t="$1" 'index($3, t) { sub(/^i2c-/, "", $1); print $1; exit }'; }
adapter_name() { i2cdetect -l | awk -F'\t' -v t="$1" 'index($3, t) { sub(/ +$/, "", $3); print $3; exit }'; }

# Loads i2c-stub with a chip at each ADDRESS (e.g. 0x4c) and the chip's registers at the first.
load_stub() {
  rmmod i2c-stub 2>/dev/null
  modprobe i2c-stub chip_addr="$1" || return 1
  stub=$(adapter_number "SMBus stub driver")
  [ -n "$stub" ] || return 1
  local chip=${1%%,*}
  i2cset -y "$stub" "$chip" 0xfe 0x41 && i2cset -y "$stub" "$chip" 0x00 $local_code &&
    i2cset -y "$stub" "$chip" 0x01 $remote_high && i2cset -y "$stub" "$chip" 0x10 $remote_low &&
    i2cset -y "$stub" "$chip" 0x03 $configuration
}

# Binds the kernel's own placeholder driver to ADDRESS on bus NUMBER (i2cdetect shows UU);
# unhold undoes it.
hold() { echo "dummy $2" > "/sys/bus/i2c/devices/i2c-$1/new_device"; }
unhold() { echo "$2" > "/sys/bus/i2c/devices/i2c-$1/delete_device"; }

# Starts the windows program offscreen with the given environment settings, a trace in
# /tmp/trace and standard error in /tmp/stderr, and waits at most 90 s until the trace holds
# TRACE_TEXT or standard error a failure; then ends it (a failure waits in its message box).
run_window() {
  local until=$1 waited=0 pid
  shift
  rm -f /tmp/trace /tmp/stderr
  env QT_QPA_PLATFORM=offscreen HOME=/tmp/home KTS_I2C_TRACE=/tmp/trace "$@" "$program" \
    >/dev/null 2>/tmp/stderr &
  pid=$!
  while [ $waited -lt 360 ] && kill -0 $pid 2>/dev/null; do
    grep -q "$until" /tmp/trace 2>/dev/null && break
    grep -q "Check USB connections" /tmp/stderr && sleep 1 && break
    sleep 0.25
    waited=$((waited + 1))
  done
  kill $pid 2>/dev/null
  wait $pid 2>/dev/null
  sed 's/^/  window stderr: /' /tmp/stderr  # into the console log, for a failure's story
}

# Each of TEXT... is in FILE; names the first missing one in $missing.
holds() {
  local file=$1
  shift
  for missing in "$@"; do grep -qF -- "$missing" "$file" 2>/dev/null || return 1; done
  missing=
}

# The reason a window check failed: what is missing and the end of the program's output.
why() { echo "no '$missing' in $1; stderr: $(tail -n 2 /tmp/stderr | tr '\n' ' ')"; }

check_stub_set_up() {
  if load_stub 0x4c && [ "$(i2cget -y "$stub" 0x4c 0x10)" = $remote_low ]; then
    pass "i2c-stub holds the chip at 0x4C on bus $stub, registers set with i2cset"
  else
    fail "i2c-stub setup" "modprobe i2c-stub or i2cset failed"
  fi
}

window_finds_chip() {
  local name=$(adapter_name "SMBus stub driver") found=" address=0x4C register=0xFE read byte=0x41 result=0"
  run_window "address=0x4C register=0x01 read" KTS_I2C_BUS="$name"
  if holds /tmp/trace "connect /dev/i2c-$stub result=0" "address=0x18 register=0xFE read result=-19" "$found" \
       "address=0x4C register=0x00 read byte=0x1E result=0" "address=0x4C register=0x10 read byte=0x40 result=0" \
       "address=0x4C register=0x01 read byte=0x29 result=0"; then
    pass "window on the stub (bus named '$name'): the search finds 0x4C, reads 0x00, 0x10, 0x01"
  else
    fail "window on the stub finds the chip and reads it" "$(why trace)"
  fi
}

window_skips_held_address() {
  hold "$stub" 0x48
  run_window "address=0x4C register=0x01 read" KTS_I2C_BUS="/dev/i2c-$stub"
  unhold "$stub" 0x48
  if holds /tmp/trace "address=0x48 register=0xFE read result=-16" "address=0x4C register=0xFE read byte=0x41 result=0" \
       "address=0x4C register=0x01 read byte=0x29 result=0" && ! grep -q "0x48" /tmp/stderr; then
    pass "window: 0x48 held by a kernel driver is skipped, the search finds 0x4C, nothing said of 0x48"
  else
    fail "window skips an address held by a kernel driver" "$(why trace)"
  fi
}

window_chip_held() {
  hold "$stub" 0x4c
  run_window "address=0x4C register=0x01 read" KTS_I2C_BUS="/dev/i2c-$stub"
  if holds /tmp/stderr "Initial Connection Failed - Check USB connections" "/dev/i2c-$stub" "0x4C" \
       "/sys/bus/i2c/devices/$stub-004c/driver/unbind"; then
    pass "window: the chip's address held by a kernel driver: 'no chip', the message names /dev/i2c-$stub, 0x4C and the unbind"
  else
    fail "window names the held chip address" "$(why stderr)"
  fi
  run_window "address=0x4C register=0x01 read" KTS_I2C_BUS="$stub" KTS_I2C_FORCE=1
  unhold "$stub" 0x4c
  if holds /tmp/trace "address=0x4C register=0xFE read byte=0x41 result=0" "address=0x4C register=0x01 read byte=0x29 result=0"; then
    pass "window: KTS_I2C_FORCE=1 reads the chip a kernel driver holds (bus given by number)"
  else
    fail "window reads a held chip with KTS_I2C_FORCE=1" "$(why trace)"
  fi
}

window_no_chip_on_piix4() {
  local piix4=$(adapter_number "PIIX4")
  if [ -z "$piix4" ]; then fail "window on i2c-piix4" "no PIIX4 adapter: $(i2cdetect -l | tr '\n' ' ')"; return; fi
  run_window "no trace text" KTS_I2C_BUS="$piix4"
  if holds /tmp/trace "connect /dev/i2c-$piix4 result=0" "/dev/i2c-$piix4 address=0x4E register=0xFE read result=-6" &&
     holds /tmp/stderr "Initial Connection Failed - Check USB connections"; then
    pass "window on i2c-piix4 (QEMU's SMBus): nobody answers 0x18..0x4E, 'Initial Connection Failed'"
  else
    fail "window on i2c-piix4 ends in 'no chip'" "$(why "trace or stderr")"
  fi
}

window_no_chip_in_range() {
  load_stub 0x50
  run_window "no trace text" KTS_I2C_BUS="/dev/i2c-$stub"
  if holds /tmp/trace "address=0x4E register=0xFE read result=-19" &&
     holds /tmp/stderr "Initial Connection Failed - Check USB connections"; then
    pass "window with the stub's chip at 0x50, outside the search: 'Initial Connection Failed'"
  else
    fail "window with the chip outside the search range says 'Initial Connection Failed'" "$(why "trace or stderr")"
  fi
}

run_checks() {
  modprobe i2c-dev && modprobe i2c-piix4
  check_stub_set_up
  window_finds_chip
  window_skips_held_address
  cli_on_stub
  cli_fields_on_stub
  window_chip_held
  cli_chip_held
  window_no_chip_on_piix4
  cli_no_chip_on_piix4
  window_no_chip_in_range
  cli_no_chip_in_range
}
