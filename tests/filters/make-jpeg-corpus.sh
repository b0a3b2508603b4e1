#!/bin/sh
# Writes JPEGs of every kind the reader meets into $1, each with the pixels
# djpeg decodes from it beside it (.ppm, or .pgm for grey), from pictures
# ImageMagick draws itself: nothing is fetched.
set -eu
out=$1
mkdir -p "$out"
cd "$out"
# An odd size: partial blocks at the right and bottom edges.
/usr/bin/convert rose: -resize '203x133!' source.ppm
for sample in 1x1 2x1 2x2 4x1; do
  cjpeg -quality 85 -sample "$sample" -outfile "sample-$sample.jpg" source.ppm
done
cjpeg -progressive -outfile progressive.jpg source.ppm
cjpeg -grayscale -outfile grey.jpg source.ppm
cjpeg -restart 1 -optimize -outfile restart.jpg source.ppm
for name in sample-1x1 sample-2x1 sample-2x2 sample-4x1 progressive restart; do
  djpeg -ppm -outfile "$name.ppm" "$name.jpg"
done
djpeg -pnm -outfile grey.pgm grey.jpg
# Cut short inside the scan: the library fills what is missing and warns
# (djpeg's exit status 2 says so).
size=$(wc -c <sample-2x2.jpg)
head -c $((size / 2)) sample-2x2.jpg >truncated.jpg
djpeg -ppm -outfile truncated.ppm truncated.jpg || [ $? -eq 2 ]
# Adobe CMYK (stored inverted) and its ink values as ImageMagick reads them.
/usr/bin/convert source.ppm -colorspace CMYK -quality 90 cmyk.jpg
/usr/bin/convert cmyk.jpg -depth 8 cmyk:cmyk.raw
# Photograph-sized pictures for the benchmarks: a smooth one, and one with a
# photograph's fine detail (ImageMagick's plasma fractal, fixed seed).
/usr/bin/convert rose: -resize '1600x1200!' large.ppm
cjpeg -quality 90 -outfile large.jpg large.ppm
/usr/bin/convert -size 1600x1200 -seed 7 plasma:fractal photo.ppm
cjpeg -quality 90 -outfile photo.jpg photo.ppm
rm photo.ppm
touch stamp
