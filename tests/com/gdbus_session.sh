#!/bin/sh
# The README's shell session against vantor-cli serve, with gdbus only: set
# the DX call, compute the chart, wait for ChartChange, read ChartData.
# Usage (on a private bus): gdbus_session.sh VANTOR-CLI FAKE-VOACAPL
set -eu
cli=$1 voacap=$2
data=$HOME/itshfbc
mkdir -p "$data/run" "$data/database"
echo "Version 16.1207W" > "$data/database/version.w32"

"$cli" serve --voacap "$voacap" --itshfbc "$data" &
serve=$!
monitor=
trap 'kill $serve $monitor 2>/dev/null || true' EXIT

owned() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner net.vexmoor.Vantor | grep -q true
}
i=0
until owned; do
  i=$((i + 1)); [ $i -lt 100 ] || { echo "the service never came"; exit 1; }
  sleep 0.1
done

D="gdbus call --session --dest net.vexmoor.Vantor --object-path /net/vexmoor/Vantor"
P=org.freedesktop.DBus.Properties

gdbus monitor --session --dest net.vexmoor.Vantor > "$HOME/monitor.txt" &
monitor=$!
# Listening once it has named the owner.
i=0
until grep -q "is owned by" "$HOME/monitor.txt"; do
  i=$((i + 1)); [ $i -lt 100 ] || { echo "the monitor never listened"; exit 1; }
  sleep 0.1
done

$D --method $P.Set net.vexmoor.Vantor.App DxCall "<'G3ABC'>"
$D --method $P.Get net.vexmoor.Vantor.App DxLat
$D --method net.vexmoor.Vantor.App.PredictPoint
i=0
until grep -q "net.vexmoor.Vantor.App.ChartChange" "$HOME/monitor.txt"; do
  i=$((i + 1)); [ $i -lt 150 ] || { echo "no ChartChange"; cat "$HOME/monitor.txt"; exit 1; }
  sleep 0.1
done
data=$($D --method $P.Get net.vexmoor.Vantor.App ChartData)
echo "$data"
# The 3.5 MHz row starts with the stand-in's SNR at 3 MHz, hour 24 (13 dB).
case "$data" in
  "(<'13,4,7,"*) ;;
  *) echo "unexpected ChartData"; exit 1 ;;
esac
$D --method net.vexmoor.Vantor.App.SaveChartImage "$HOME/chart.bmp"
[ -s "$HOME/chart.bmp" ] || { echo "no chart.bmp"; exit 1; }
if $D --method net.vexmoor.Vantor.App.SaveChartImage /nonexistent/chart.bmp 2> "$HOME/error.txt"; then
  echo "an unwritable file did not fail"; exit 1
fi
grep -q "net.vexmoor.Vantor.Error: Cannot write /nonexistent/chart.bmp" "$HOME/error.txt"
$D --method net.vexmoor.Vantor.App.Release
echo "shell session ok"
