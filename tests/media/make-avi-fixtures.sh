#!/usr/bin/env bash
# Writes the AVI fixtures of the video tests with ffmpeg into the folder
# given (only those named after it, when any are), and ffmpeg's own decoding of each beside it: <name>.bgr holds the
# frames as 24-bit rows bottom-up (as a DIB has them), <name>.pcm the sound
# as 16-bit PCM.
set -euo pipefail
out=$1
shift
wanted=("$@")
mkdir -p "$out"
cd "$out"
video=(-f lavfi -i testsrc=size=64x48:rate=10:duration=1)
sound=(-f lavfi -i sine=frequency=440:sample_rate=22050:duration=1)
make() {
  local name=$1
  shift
  if [ ${#wanted[@]} -gt 0 ] && [[ ! " ${wanted[*]} " == *" $name "* ]]; then
    return
  fi
  ffmpeg -nostdin -v error -y "$@" "$name.avi"
  if ffprobe -v error -select_streams v -show_entries stream=codec_type -of csv=p=0 "$name.avi" | grep -q video; then
    ffmpeg -nostdin -v error -y -i "$name.avi" -f rawvideo -pix_fmt bgr24 -vf vflip "$name.bgr"
  fi
  if ffprobe -v error -select_streams a -show_entries stream=codec_type -of csv=p=0 "$name.avi" | grep -q audio; then
    ffmpeg -nostdin -v error -y -i "$name.avi" -f s16le -acodec pcm_s16le "$name.pcm"
  fi
}
make msvideo1 "${video[@]}" "${sound[@]}" -c:v msvideo1 -c:a pcm_s16le
make cinepak "${video[@]}" "${sound[@]}" -c:v cinepak -c:a adpcm_ima_wav
make topdown "${video[@]}" -c:v rawvideo -pix_fmt bgr24
make bottomup "${video[@]}" -c:v rawvideo -pix_fmt bgr24 -flipped_raw_rgb 1
make pal8 "${video[@]}" -c:v rawvideo -pix_fmt pal8
# The wave device's own format, so the captured output holds the samples as played.
make stereo44 "${video[@]}" -f lavfi -i sine=frequency=441:sample_rate=44100:duration=1 -ac 2 -c:v cinepak -c:a adpcm_ima_wav
# The video page of the end-to-end test and the demo: PCM the output plays as it is.
make e2e "${video[@]}" -f lavfi -i sine=frequency=441:sample_rate=44100:duration=1 -ac 2 -c:v cinepak -c:a pcm_s16le
# The same video without its sound, for the system's AVI device (MCI): that
# test looks at its pictures only.
make e2esilent "${video[@]}" -c:v cinepak
make soundonly "${sound[@]}" -c:a adpcm_ima_wav
touch fixtures.stamp
