#!/bin/sh
# Makes the media files the media tests read, with the ffmpeg command and
# lavfi sources, into the folder given (the tests' VELQUA_TEST_DATA). Runs once
# per test run as a CTest fixture. A file whose recipe has not changed since it
# was last made is kept, so repeated runs cost almost nothing.
#
# To add a fixture, add one `make NAME ARGS...` line: ARGS are ffmpeg's
# arguments between its global options and the output file.
set -eu

OUT=${1:?usage: make_fixtures.sh OUTPUT_FOLDER [FFMPEG]}
FFMPEG=${2:-ffmpeg}
mkdir -p "$OUT"

make() {
    name=$1
    shift
    recipe="$*"
    stamp="$OUT/.$name.recipe"
    if [ -f "$OUT/$name" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
        return 0
    fi
    rm -f "$OUT/$name" "$stamp"
    # Written under a temporary name so that a failed run leaves no half file.
    # The temporary name keeps the extension: ffmpeg picks the muxer from it.
    tmp="$OUT/.tmp-$name"
    if ! "$FFMPEG" -nostdin -hide_banner -loglevel error -y "$@" "$tmp"; then
        rm -f "$tmp"
        echo "make_fixtures.sh: could not make $name" >&2
        exit 1
    fi
    mv "$tmp" "$OUT/$name"
    printf '%s' "$recipe" >"$stamp"
}

# Copies a fixture under another name (file names the tests care about).
copy() {
    cp "$OUT/$1" "$OUT/$2.tmp" && mv "$OUT/$2.tmp" "$OUT/$2"
}

# A copy of a fixture with 64 bytes overwritten at nine tenths of its length.
damage() {
    cp "$OUT/$1" "$OUT/$2.tmp"
    size=$(wc -c <"$OUT/$2.tmp")
    printf 'damaged!damaged!damaged!damaged!damaged!damaged!damaged!damaged!' |
        dd of="$OUT/$2.tmp" bs=1 seek=$((size * 9 / 10)) conv=notrunc 2>/dev/null
    mv "$OUT/$2.tmp" "$OUT/$2"
}

# The first half of a fixture: an MP4 cut there has lost its index.
truncate_half() {
    size=$(wc -c <"$OUT/$1")
    head -c $((size / 2)) "$OUT/$1" >"$OUT/$2.tmp"
    mv "$OUT/$2.tmp" "$OUT/$2"
}

TESTSRC="-f lavfi -i testsrc=size=320x240:rate=25:duration=2"
SINE="-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2"

# MPEG-4 video at 25 fps with MP2 audio in AVI: the common case.
make a.avi $TESTSRC $SINE -c:v mpeg4 -c:a mp2 -shortest
# Every frame a key frame, video only, for stepping back by key frame.
make intra.avi $TESTSRC -c:v mpeg4 -g 1 -an
# MPEG-TS: 29.97 fps MPEG-2 video, audio whose only metadata is its language,
# one program with a provider and a name, a start time above 0.
make ntsc.ts -f lavfi -i testsrc=size=320x240:rate=30000/1001:duration=2 $SINE \
    -c:v mpeg2video -c:a mp2 -metadata:s:a:0 language=eng -shortest \
    -metadata service_provider=Velqua -metadata service_name=Probe
# A still picture.
make still.png -f lavfi -i color=c=red:size=64x48:duration=1 -frames:v 1
# Title, artist, a free key and a recording time as file metadata.
make tags.mkv $TESTSRC -c:v mpeg4 -t 1 -metadata title=Velqua -metadata artist=Somebody \
    -metadata MYKEY=value -metadata creation_time=2011-05-01T10:20:30Z
# Raw BGR frames whose stream states a sample aspect ratio the codec does not.
make raw.nut -f lavfi -i color=c=blue:size=32x24:rate=5:duration=1 -c:v rawvideo -pix_fmt bgr24
# MP3 at a constant 128 kb/s, without a header that would make the reader
# estimate the bit rate from the file size.
make cbr.mp3 $SINE -c:a libmp3lame -b:a 128k -write_xing 0

# One second of small pictures with MP2 audio: the conversions' usual input.
make short.avi -f lavfi -i testsrc=size=160x120:rate=25:duration=1 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=1 -c:v mpeg4 -c:a mp2 -shortest
# One second of a 440 Hz tone at 0.6 of full scale, as 16-bit PCM.
make tone.wav -f lavfi -i "aevalsrc=0.6*sin(2*PI*440*t):s=44100:d=1" -c:a pcm_s16le
# Small pictures at 10 and at 60 frames per second.
make ten.avi -f lavfi -i testsrc=size=64x48:rate=10:duration=2 -c:v mpeg4 -an
make sixty.avi -f lavfi -i testsrc=size=64x48:rate=60:duration=2 -c:v mpeg4 -an
# Audio that starts 1000 (and 20) samples after the video.
LATE="-f lavfi -i testsrc=size=64x48:rate=10:duration=1 -f lavfi -i sine=frequency=440:sample_rate=8000:duration=1"
make late.nut $LATE -filter_complex '[1:a]asetpts=PTS+1000/SR/TB[a]' -map 0:v -map '[a]' -c:v mpeg4 -c:a pcm_s16le
make late20.nut $LATE -filter_complex '[1:a]asetpts=PTS+20/SR/TB[a]' -map 0:v -map '[a]' -c:v mpeg4 -c:a pcm_s16le
# Two text subtitles over two seconds of video.
printf '1\n00:00:00,000 --> 00:00:00,800\nHello\n\n2\n00:00:01,000 --> 00:00:01,800\nWorld\n' >"$OUT/.subs.srt"
make subs.mkv -f lavfi -i testsrc=size=64x48:rate=10:duration=2 -i "$OUT/.subs.srt" -c:v mpeg4 -c:s ass
# MPEG-2 pictures whose size changes after one second.
make .small.ts -f lavfi -i testsrc=size=64x48:rate=25:duration=1 -c:v mpeg2video
make .large.ts -f lavfi -i testsrc=size=96x72:rate=25:duration=1 -c:v mpeg2video
cat "$OUT/.small.ts" "$OUT/.large.ts" >"$OUT/resize.ts"
# A fifth of a second stamped ten hours after the second before it, as a
# spliced or damaged recording gives.
make .later.ts -f lavfi -i testsrc=size=64x48:rate=25:duration=0.2 -c:v mpeg2video -output_ts_offset 36000
cat "$OUT/.small.ts" "$OUT/.later.ts" >"$OUT/jump.ts"

copy a.avi "中文视频.avi"

# Half a second of small pictures with MP2 audio: the conversion tasks' input.
make task.avi -f lavfi -i testsrc=size=160x120:rate=25:duration=0.5 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=0.5 -c:v mpeg4 -c:a mp2 -shortest
# PNG pictures, the last but one damaged so that it cannot be decoded.
make .png.mkv -f lavfi -i testsrc=size=160x120:rate=25:duration=0.5 -c:v png
damage .png.mkv damaged.mkv
# The player's files.
# A 64x48 picture whose top half is red and bottom half blue, lossless, 1 s.
make halves.mkv -f lavfi -i "color=c=red:size=64x48:rate=25:duration=1,drawbox=y=24:w=64:h=24:c=blue:t=fill" \
    -c:v ffv1 -pix_fmt yuv420p
# A 440 Hz mono sine of 2 s as plain 16-bit samples.
make sine.wav $SINE -c:a pcm_s16le
# Six channels of 1 s at 8 kHz.
make six.wav -f lavfi -i sine=frequency=440:sample_rate=8000:duration=1 -ac 6 -c:a pcm_s16le
# One video, two audio streams (440 Hz, then 1000 Hz) and a subtitle stream, 1 s.
printf '1\n00:00:00,000 --> 00:00:01,000\nVelqua\n' >"$OUT/subtitle.srt"
make streams.mkv -f lavfi -i testsrc=size=160x120:rate=25:duration=1 \
    -f lavfi -i sine=frequency=440:sample_rate=8000:duration=1 \
    -f lavfi -i sine=frequency=1000:sample_rate=8000:duration=1 -i "$OUT/subtitle.srt" \
    -map 0 -map 1 -map 2 -map 3 -c:v mpeg4 -c:a pcm_s16le -c:s srt
# An odd picture size and six channels of sound: shapes some encoders refuse.
make odd6.mkv -f lavfi -i testsrc=size=321x241:rate=25:duration=0.4 \
    -f lavfi -i sine=frequency=440:sample_rate=8000:duration=0.4 -ac 6 \
    -c:v mpeg4 -pix_fmt yuv420p -c:a pcm_s16le -shortest
# One picture a second for five seconds, with as much sound.
make slow.avi -f lavfi -i testsrc=size=64x48:rate=1:duration=5 \
    -f lavfi -i sine=frequency=440:sample_rate=8000:duration=5 -c:v mpeg4 -c:a pcm_s16le -shortest
# A 64x32 picture with a white square at its top left and a grey one at its
# top right; the tests give copies display matrices that turn it.
make marked.mp4 -f lavfi \
    -i "color=black:size=64x32:rate=5:duration=0.4,drawbox=x=0:y=0:w=16:h=16:c=white:t=fill,drawbox=x=48:y=0:w=16:h=16:c=gray:t=fill" \
    -c:v mpeg4 -q:v 2 -pix_fmt yuv420p
# An MP4 of a few reader buffers, picture and sound interleaved: read on
# after its file was let go and taken up again.
make interleaved.mp4 -f lavfi -i testsrc=size=160x120:rate=25:duration=2 $SINE -c:v mpeg4 -q:v 2 \
    -c:a mp2 -shortest
# An MP4 cut in half: its index, at the end, is gone.
make .whole.mp4 -f lavfi -i testsrc=size=64x48:rate=25:duration=1 -c:v mpeg4
truncate_half .whole.mp4 truncated.mp4

# The program's end-to-end runs: two seconds of small pictures with sound
# beside short.avi, and a clip long enough that a run towards 1280x720 H.264
# is still converting when it is stopped.
make clip2.avi -f lavfi -i testsrc=size=160x120:rate=25:duration=2 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 -c:v mpeg4 -c:a mp2 -shortest
make clip30.avi -f lavfi -i testsrc=size=160x120:rate=25:duration=30 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=30 -c:v mpeg4 -c:a mp2 -shortest
