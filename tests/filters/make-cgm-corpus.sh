#!/bin/sh
# Writes CGM pictures (binary encoding) from plotutils and gnuplot into $1,
# and plotutils' own PNG rendering of the same plot as a PPM beside it.
set -eu
out=$1
mkdir -p "$out"
cd "$out"
awk 'BEGIN { for (i = 0; i <= 60; i++) print i / 10, sin(i / 10) }' >sine.txt
graph -T meta -W 0.004 sine.txt >plot.meta
plot -T cgm plot.meta >plot.cgm
plot -T png --bitmap-size 600x600 plot.meta >plot.png
/usr/bin/convert plot.png -depth 8 ppm:plot.ppm
# Rotated text (the y axis's label) in a PostScript face, which the CGM
# holds as text, over a coloured background; plotutils' own PNG draws the
# text in its Hershey face instead.
graph -T meta -F Helvetica --bg-color lightblue -X "Time" -Y "Rotated label" -W 0.004 sine.txt >label.meta
plot -T cgm label.meta >label.cgm
plot -T png --bitmap-size 600x600 label.meta >label.png 2>/dev/null
/usr/bin/convert label.png -depth 8 ppm:label.ppm
gnuplot -e 'set terminal cgm; set output "gnuplot.cgm"; plot sin(x) with lines, cos(x) with filledcurves y1=0'
touch stamp
