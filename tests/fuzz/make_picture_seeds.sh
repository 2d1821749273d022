#!/bin/sh
# make_picture_seeds.sh FOLDER [FFMPEG]: tiny valid pictures, made by the
# ffmpeg command, as the seeds of the picture readers' fuzz corpora:
# FOLDER/bmp, FOLDER/png, FOLDER/gif, FOLDER/jpeg and FOLDER/ico, one
# picture for each pixel format the reader meets in practice.
set -eu

OUT=${1:?usage: make_picture_seeds.sh FOLDER [FFMPEG]}
FFMPEG=${2:-ffmpeg}
rm -rf "$OUT"
mkdir -p "$OUT/bmp" "$OUT/png" "$OUT/gif" "$OUT/jpeg" "$OUT/ico"

# make KIND NAME ARGS...: one picture from an 8 x 6 test pattern.
make() {
    kind=$1
    name=$2
    shift 2
    "$FFMPEG" -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc=size=8x6:rate=2:duration=2 "$@" \
        "$OUT/$kind/$name"
}

for format in bgr24 bgra pal8 gray monob rgb565le rgb555le rgb444le; do
    make bmp "$format.bmp" -frames:v 1 -pix_fmt "$format"
done
for format in rgb24 rgba gray ya8 pal8 monob rgb48be rgba64be gray16be; do
    make png "$format.png" -frames:v 1 -pix_fmt "$format"
done
make gif still.gif -frames:v 1
make gif moving.gif -frames:v 3 -filter_complex "split[a][b];[a]palettegen=max_colors=8[p];[b][p]paletteuse"
for format in yuvj420p yuvj422p yuvj444p gray; do
    make jpeg "$format.jpg" -frames:v 1 -pix_fmt "$format" -strict unofficial
done
# Icons of a bitmap, of a PNG, and of both.
make ico bitmap.ico -frames:v 1 -c:v bmp -pix_fmt bgra
make ico png.ico -frames:v 1 -c:v png -pix_fmt rgba
"$FFMPEG" -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc=size=8x6:rate=2:duration=2 \
    -f lavfi -i testsrc=size=16x12:rate=2:duration=2 -map 0:v -map 1:v -frames:v 1 \
    -c:v:0 bmp -pix_fmt:v:0 bgra -c:v:1 png -pix_fmt:v:1 rgba "$OUT/ico/both.ico"
