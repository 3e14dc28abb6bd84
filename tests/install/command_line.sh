#!/usr/bin/env bash
# The command line answers in a terminal without any display, and the windows program says in
# one line that it needs one: each case gives the environment (beyond no DISPLAY,
# WAYLAND_DISPLAY or QT_QPA_PLATFORM), the arguments, the exit status, and what standard output
# and standard error must hold (extended regular expressions; "^$" for nothing at all).
# Usage: command_line.sh PROGRAM VERSION
set -uo pipefail
program=$1
version=$2
nl=$'\n'
no_display="^kts9320b-eval: there is no display to show the windows on; kts9320b-cli works without one\\.$"

cases=(
  "|--version|0|^kts9320b-eval ${version//./\\.}$|^$"
  "|-v|0|^kts9320b-eval ${version//./\\.}$|^$"
  "|--help|0|Usage: kts9320b-eval \[options\] \[--open FILE\.\.\.\].*--version.*--open.*--driver.*--bus.*--address.*Settings.*libUSBFunctions\.so.*KTS9330FW\.Hex.*KTS_SIM_ADDRESS.*KTS_SIM_TRACE.*KTS_I2C_BUS.*KTS_I2C_FORCE.*KTS_I2C_TRACE|^$"
  "|--address 0x99|2|^$|^kts9320b-eval: '0x99' is not a chip address: .* Try 'kts9320b-eval --help'\.$"
  "|--driver /nonexistent/libUSBFunctions.so|2|^$|^kts9320b-eval: The driver library '/nonexistent/libUSBFunctions\.so' does not exist\. Try .*$"
  "|--no-such-option|2|^$|^kts9320b-eval: Unknown option 'no-such-option'\. Try 'kts9320b-eval --help'\.$"
  "|stray|2|^$|^kts9320b-eval: .*'stray'.*$"
  "|--open|2|^$|^kts9320b-eval: --open needs at least one FILE\. Try 'kts9320b-eval --help'\.$"
  "|--open run.csv|1|^$|$no_display"
  "||1|^$|$no_display"
  "DISPLAY=||1|^$|$no_display"
  "QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-0||1|^$|$no_display"
  "QT_QPA_PLATFORM=wayland:nogl DISPLAY=:0||1|^$|$no_display"
  "DISPLAY=:987||1|^$|$no_display"
  "DISPLAY=localhost:987.0||1|^$|$no_display"
  "QT_QPA_PLATFORM=bogus||1|^$|$no_display"
  "QT_QPA_PLATFORM=bogus;xcb DISPLAY=:987||1|^$|$no_display"
  "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=/nonexistent/wayland-0||1|^$|$no_display"
)

failed=0
for c in "${cases[@]}"; do
  IFS='|' read -r environment args status out err <<<"$c"
  stdout=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $environment "$program" $args 2>/tmp/cmdline.$$)
  got=$?
  stderr=$(cat /tmp/cmdline.$$)
  # The patterns look at the whole text as one line, so they can span lines.
  flat_out=${stdout//$nl/ }
  flat_err=${stderr//$nl/ }
  if [ "$got" != "$status" ] || ! [[ $flat_out =~ $out ]] || ! [[ $flat_err =~ $err ]] ||
     [ "$(printf '%s' "$stderr" | wc -l)" -gt 0 ]; then
    echo "FAIL: $environment $args -> status $got (want $status)"
    echo "  stdout: $stdout"
    echo "  stderr: $stderr"
    failed=1
  else
    echo "ok:   $environment $args"
  fi
done
rm -f /tmp/cmdline.$$

# A display that answers starts the windows, the program its first client: the check before
# them must not leave the server resetting (as Xvfb does when its last client leaves).
if command -v Xvfb >/dev/null; then
  . "$(dirname "$0")/../../scripts/virtual-display"
  for run in 1 2 3; do
    start_virtual_display 640x480x24 || break
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=$(mktemp -d) timeout 3 "$program" >/dev/null 2>/tmp/cmdline.$$
    got=$?
    stop_virtual_display
    if [ $got = 124 ]; then echo "ok:   windows on a fresh display ($run)"; else
      echo "FAIL: windows on a fresh display ($run): status $got: $(head -1 /tmp/cmdline.$$)"; failed=1; fi
  done
  rm -f /tmp/cmdline.$$
fi

# The help names the settings file without opening it: a pipe in its place must not hold it.
config=$(mktemp -d)
store="$config/KTS9320B Evaluation Software/KTS9320B Evaluation Software.conf"
mkdir -p "$(dirname "$store")" && mkfifo "$store"
if stdout=$(env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$config" timeout 10 "$program" --help) &&
   [[ $stdout == *"$store"* ]]; then
  echo "ok:   --help with a pipe as the settings file"
else
  echo "FAIL: --help with a pipe as the settings file (status $?)"
  failed=1
fi
rm -rf "$config"
exit $failed
