#!/usr/bin/env bash
# `ksn render` of a 101-car formation against ImageMagick appending the same 101 bitmaps into one
# PNG: the editor's command line should be faster. Both read the same files and write a PNG of
# the same size; each is timed from process start to exit.
#
#   bench/render_vs_imagemagick.sh [BUILD_DIR] [RUNS]     (defaults: build-perf, 20)
#
# Needs python3 (to make the files), ImageMagick (Debian: imagemagick) and, for the timing,
# hyperfine when installed (else a loop on the nanosecond clock). CONVERT=... picks another
# convert program; by default ImageMagick's own /usr/bin/convert.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../build-perf}
runs=${2:-20}
ksn=$(cd "$build" && pwd)/bin/ksn
[[ -x $ksn ]] || { echo "no $ksn: build first" >&2; exit 2; }
convert=${CONVERT:-/usr/bin/convert}
[[ -x $convert ]] || convert=$(command -v convert) || { echo "ImageMagick's convert is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The formation and its cars, as bench_windows makes them: 101 distinct 24-bit bitmaps, most
# 120 x 40 and every sixth 320 x 40, named c001.bmp ... c101.bmp beside long.KSN.
python3 - "$work" <<'PY'
import struct, sys
folder = sys.argv[1]

def car(width, height, seed):
    stride = (width * 3 + 3) // 4 * 4
    body = bytearray(stride * height)
    h = (seed * 2654435761) & 0xFFFFFFFF
    colour = ((h >> 8) & 0xFF, (h >> 16) & 0xFF, (h >> 24) & 0xFF)
    for row in range(height):
        y = height - 1 - row  # bottom-up: the first row stored is the lowest
        for x in range(width):
            b, g, r = colour
            if y < height // 10:
                b = g = r = 0x60  # roof
            elif height // 4 < y < height // 2 and 4 < x % 24 < 20:
                b, g, r = 0xE0, 0xC8, (0x90 + y) & 0xFF  # windows
            elif y > height - height // 8:
                b = g = r = 0x20 + (x * 7) % 32  # bogies
            at = row * stride + x * 3
            body[at:at + 3] = bytes((b, g, r))
    header = b"BM" + struct.pack("<IHHI", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 0, 0, 0, 0)
    return header + info + bytes(body)

lines = ["特急 101両編成", "horn.wav;汽笛"]
for i in range(101):
    width = 320 if i % 6 == 5 else 120
    name = "c%03d.bmp" % (i + 1)
    with open("%s/%s" % (folder, name), "wb") as f:
        f.write(car(width, 40, i + 1))
    lines.append(name + (";先頭車" if i == 0 else ""))
with open(folder + "/long.KSN", "wb") as f:
    f.write("".join(line + "\r\n" for line in lines).encode("cp932"))
PY

cars=()
for i in $(seq 1 101); do cars+=("$work/$(printf 'c%03d.bmp' "$i")"); done
# The default folder and drive are given, so no settings file or Wine prefix of the user is read.
ksn_cmd=(env XDG_CONFIG_HOME="$work/config" "$ksn" --drive "K:=$work" --default-folder "$work" render "$work/long.KSN" -o "$work/ksn.png")
im_cmd=("$convert" "${cars[@]}" +append "$work/im.png")

# Both must succeed and give the same picture size before anything is timed.
"${ksn_cmd[@]}"
"${im_cmd[@]}"
size_of() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$1"; }
ksn_size=$(size_of "$work/ksn.png")
im_size=$(size_of "$work/im.png")
[[ $ksn_size == "$im_size" ]] || { echo "the pictures differ in size: ksn $ksn_size, ImageMagick $im_size" >&2; exit 1; }
echo "picture: $ksn_size, 101 cars; ksn: $ksn; ImageMagick: $("$convert" -version | head -1)"

quote() { printf '%q ' "$@"; }
if command -v hyperfine >/dev/null; then
    hyperfine --style basic --warmup 3 --runs "$runs" --export-json "$work/times.json" \
        -n "ksn render" "$(quote "${ksn_cmd[@]}")" -n "convert +append" "$(quote "${im_cmd[@]}")" >&2
    read -r ksn_ms im_ms < <(python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))["results"]
print(" ".join("%.2f" % (x["median"] * 1000) for x in r))' "$work/times.json")
    how="hyperfine, median of $runs after 3 warm-up runs"
else
    # Turns of each command, medians of the wall-clock times.
    median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
    time_ms() { local s e; s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N); echo $(((e - s) / 1000)); }
    for _ in 1 2 3; do "${ksn_cmd[@]}"; "${im_cmd[@]}"; done
    ksn_us=() im_us=()
    for _ in $(seq "$runs"); do ksn_us+=("$(time_ms "${ksn_cmd[@]}")"); im_us+=("$(time_ms "${im_cmd[@]}")"); done
    ksn_ms=$(printf '%s\n' "${ksn_us[@]}" | median | awk '{printf "%.2f", $1 / 1000}')
    im_ms=$(printf '%s\n' "${im_us[@]}" | median | awk '{printf "%.2f", $1 / 1000}')
    how="date +%s%N loop, median of $runs turns after 3 warm-up turns"
fi

echo "ksn render       $ksn_ms ms"
echo "convert +append  $im_ms ms"
awk -v a="$ksn_ms" -v b="$im_ms" -v how="$how" 'BEGIN {
    r = a / b
    printf "ksn/ImageMagick = %.2fx  aim: faster than ImageMagick (below 1.00x), %s  (%s)\n", r, (r < 1 ? "met" : "NOT met"), how
}'
