#!/usr/bin/env bash
# The quality of demo_capture's video against the frames it composes,
# reported (nothing is asserted: size and speed depend on the machine and
# its load). For each setting, one video of the whole timeline is captured;
# at each moment its frame is decoded to RGB by the stream's colour tags and
# compared, at the video's size, with the composed frame scaled by nearest
# neighbour: the PSNR as a player decodes it, then the PSNR as ffmpeg's scale
# filter decodes it (see player_conversion), and the SSIM of the first; or
# "identical" when every byte is the same. Then the file size and the
# capture's frames per second (composing, encoding and muxing together).
#   video-quality.sh [--build DIR] [--fps N] [--size WxH] [--at "S1 S2 ..."] [SETTING ...]
# A setting is the capture options of one video ("" is the default); without
# any: the default, --lossless and two others.
set -euo pipefail
build=build
fps=50
size=1280x960
moments="50 100 140"
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --fps) fps=$2; shift 2 ;;
    --size) size=$2; shift 2 ;;
    --at) moments=$2; shift 2 ;;
    *) break ;;
  esac
done
if [ $# -eq 0 ]; then set -- "" "--lossless" "--crf 23 --preset veryfast" "--chroma 444"; fi
bin=$(cd "$build/bin" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
width=${size%x*}
height=${size#*x}
frames=$((160 * fps + 1))

frame_of() { echo $(($1 * fps)); }
only=$(for s in $moments; do frame_of "$s"; done | paste -sd,)
(cd "$bin" && ./demo_capture --fps "$fps" --frames "$work/ref" --raw --only "$only" > /dev/null 2>&1)

# The composed frame k as RGB at the video's size.
reference() {
  ffmpeg -v error -f rawvideo -pixel_format bgr0 -video_size 640x480 -i "$work/ref/frame_$(printf %05d "$1").raw" \
    -vf "scale=$width:$height:flags=neighbor" -pix_fmt rgb24 -f rawvideo -y "$2"
}

# The colour conversion of the video's stream to RGB, by the matrix, range
# and colour-sample siting of its tags (BT.709 for an untagged stream of 720
# lines or more, and H.264's left siting, as players assume): "player" is
# zimg's, the library mpv converts with, interpolating the colour samples
# bilinearly; "ffmpeg" is ffmpeg's scale filter, interpolating too but
# placing the samples its own way.
player_conversion() {
  local key value format="" space="" range="" siting=""
  # ffprobe lists the fields in its own order, so they are read by name.
  while IFS== read -r key value; do
    case "$key" in
      pix_fmt) format=$value ;;
      color_space) space=$value ;;
      color_range) range=$value ;;
      chroma_location) siting=$value ;;
    esac
  done < <(ffprobe -v error -select_streams v:0 \
    -show_entries stream=pix_fmt,color_space,color_range,chroma_location -of default=nw=1 "$1")
  case "$format" in
    bgr0 | gbr* | rgb*) echo "scale=flags=neighbor"; return ;;
  esac
  if [ "$space" = unknown ]; then space=$([ "$height" -ge 720 ] && echo bt709 || echo bt601); fi
  [ "$range" = pc ] || range=tv
  if [ "$2" = ffmpeg ]; then
    echo "scale=in_color_matrix=$space:in_range=$range:flags=bilinear+accurate_rnd+full_chroma_int"
    return
  fi
  case "$siting" in left | center | topleft | top | bottomleft | bottom) ;; *) siting=left ;; esac
  case "$space" in bt709) space=709 ;; *) space=170m ;; esac
  [ "$range" = pc ] && range=full || range=limited
  echo "zscale=min=$space:rin=$range:chromalin=$siting:filter=bilinear,format=gbrp"
}

# Frame k of the video, decoded by the conversion $3, as RGB into $4.
decoded() {
  ffmpeg -v error -i "$1" -vf "select=eq(n\\,$2),$(player_conversion "$1" "$3")" -frames:v 1 -pix_fmt rgb24 \
    -f rawvideo -y "$4"
}

# The PSNR and SSIM lines of ffmpeg comparing two RGB images of the video's size.
measure() {
  ffmpeg -v info -nostats -f rawvideo -pixel_format rgb24 -video_size "$size" -i "$1" \
    -f rawvideo -pixel_format rgb24 -video_size "$size" -i "$2" \
    -lavfi "[0]split[a][b];[1]split[c][d];[a][c]psnr;[b][d]ssim" -f null - 2>&1
}

# "PSNR / PSNR dB / SSIM" of the frame k of video $1 against the reference $3.
compare() {
  decoded "$1" "$2" player "$work/dec.rgb"
  if cmp -s "$work/dec.rgb" "$3"; then echo identical; return; fi
  decoded "$1" "$2" ffmpeg "$work/ffmpeg.rgb"
  { measure "$work/dec.rgb" "$3"; measure "$work/ffmpeg.rgb" "$3" | sed 's/^/ffmpeg /'; } |
    awk 'function field(name) { for (i = 1; i <= NF; i++) if (index($i, name) == 1) return substr($i, length(name) + 1) }
         /PSNR/ && !/^ffmpeg/ { p = field("average:") }
         /PSNR/ && /^ffmpeg/ { b = field("average:") }
         /SSIM/ && !/^ffmpeg/ { s = field("All:") }
         END { printf "%.2f / %.2f dB / %.4f", p, b, s }'
}

for s in $moments; do reference "$(frame_of "$s")" "$work/ref_$s.rgb"; done
echo "demo_capture --fps $fps --size $size --video, decoded at ${moments// / s, } s (PSNR as a player decodes /" \
  "PSNR as ffmpeg's scale filter decodes / SSIM of the first, against the composed frame), file size," \
  "capture frames per second:"
for setting in "$@"; do
  case " $setting " in *" --lossless "*) video=$work/v.mkv ;; *) video=$work/v.mp4 ;; esac
  # shellcheck disable=SC2086 # a setting is a list of options
  (cd "$bin" && /usr/bin/time -f %e -o "$work/seconds" \
    ./demo_capture --fps "$fps" --size "$size" --video "$video" $setting > /dev/null 2> "$work/log") ||
    { echo "${setting:-default}: the capture failed: $(cat "$work/log")"; continue; }
  row="| ${setting:-(default)} |"
  for s in $moments; do row="$row $(compare "$video" "$(frame_of "$s")" "$work/ref_$s.rgb") |"; done
  megabytes=$(awk -v b="$(stat -c %s "$video")" 'BEGIN { printf "%.1f MB", b / 1e6 }')
  rate=$(awk -v f="$frames" -v s="$(cat "$work/seconds")" 'BEGIN { printf "%.1f", f / s }')
  echo "$row $megabytes | $rate |"
  rm -f "$video"
done
