#!/usr/bin/env bash
# Makes the picture and map files of the format tests from the bitmaps in
# tests/data with Debian's tools (ImageMagick, netpbm, libjpeg-turbo-progs,
# libtiff-tools). The results are checked in; run this only to remake them.
set -euo pipefail
cd "$(dirname "$0")"
im=/usr/bin/convert  # ImageMagick itself
stamp=(-define png:exclude-chunk=date,time)  # the same bytes on every run
grey=../pictures/camera_64x48.bmp
colour=../pictures/coffee_64x48.bmp  # 64x48 crop at (100, 60) of the colour photograph
map=../maps/camera_64x48_felzenszwalb.bmp

# The grey picture in every lossless form; each must load the bitmap's levels.
bmptopnm -quiet "$grey" | ppmtopgm >camera.pgm              # P5, maximum 255
pnmtoplainpnm camera.pgm >camera_plain.pgm                   # P2
pgmtoppm rgb:ff/ff/ff camera.pgm >camera.ppm                 # P6 with R = G = B
pnmtoplainpnm camera.ppm >camera_plain.ppm                   # P3
pamdepth 65535 camera.pgm >camera_16.pgm                     # P5, 16-bit: v * 257
pamdepth 1000 camera.pgm | pnmtoplainpnm >camera_1000.pgm    # P2, maximum 1000
pnmtopng camera.pgm >camera.png                              # 8-bit grey
pnmtopng -interlace camera.pgm >camera_interlaced.png        # Adam7
pnmtopng -force camera_16.pgm >camera_16.png                 # 16-bit grey
"$im" "$grey" "${stamp[@]}" -type Palette PNG8:camera_palette.png           # 8-bit palette
"$im" "$grey" "${stamp[@]}" -alpha set -channel A -evaluate set 50% +channel PNG32:camera_rgba.png
"$im" "$grey" "${stamp[@]}" -type TrueColor PNG24:camera_rgb.png
"$im" camera.pgm -compress None camera.tif
tiffcp -c lzw camera.tif camera_lzw.tif
tiffcp -c zip camera.tif camera_deflate.tif
tiffcp -t -w 32 -l 32 -c lzw camera.tif camera_tiled_lzw.tif  # the last band half a tile
"$im" camera_16.pgm -compress LZW camera_16_lzw.tif
cp camera.tif camera_orientation6.tif && tiffset -s 274 6 camera_orientation6.tif
"$im" "$grey" -type TrueColor -compress Zip camera_rgb_deflate.tif
# Levels 0 to 15: 4-bit PNG and plain PGM, both scaled by round(v * 255 / 15).
pamdepth 15 camera.pgm >camera_4bit.pgm
pnmtopng camera_4bit.pgm >camera_4bit.png
pnmtoplainpnm camera_4bit.pgm >camera_4bit_plain.pgm

# JPEG files with the reference decode of the library's own program.
cjpeg -quality 90 -grayscale camera.pgm >camera.jpg
djpeg -pnm camera.jpg >camera_jpg_djpeg.pgm
bmptopnm -quiet "$colour" >coffee.ppm
cjpeg -quality 85 -progressive coffee.ppm >coffee_progressive.jpg
djpeg -pnm coffee_progressive.jpg >coffee_progressive_djpeg.ppm
cjpeg -quality 85 coffee.ppm >coffee.jpg
djpeg -pnm coffee.jpg >coffee_djpeg.ppm
# Colour pictures for the luma conversion.
pnmtopng coffee.ppm >coffee.png
pamdepth 65535 coffee.ppm | pnmtopng -force >coffee_16.png
"$im" coffee.ppm -compress LZW coffee.tif
pamdepth 65535 coffee.ppm | pnmtotiff >coffee_16.tif
tiffcp -t -w 16 -l 32 -c zip coffee_16.tif coffee_16_tiled.tif && rm coffee_16.tif

# Maps: the bitmap map as PNG, and 16-bit grey label maps whose labels pass
# 255 (label 250 + 37 k for the k-th colour in row order).
"$im" "$map" "${stamp[@]}" PNG24:camera_map.png
bmptopnm -quiet "$map" | python3 -c '
import sys
data = sys.stdin.buffer.read()
fields, at = [], 0
while len(fields) < 4:
    while data[at:at + 1].isspace(): at += 1
    start = at
    while not data[at:at + 1].isspace(): at += 1
    fields.append(data[start:at])
w, h = int(fields[1]), int(fields[2])
pixels = data[at + 1:]
labels, out = {}, bytearray()
for i in range(w * h):
    colour = pixels[3 * i:3 * i + 3]
    label = labels.setdefault(colour, 250 + 37 * len(labels))
    out += label.to_bytes(2, "big")
sys.stdout.buffer.write(b"P5\n%d %d\n65535\n" % (w, h) + out)
' >labels_16.pgm
pnmtopng labels_16.pgm >labels_16.png
"$im" labels_16.pgm -compress Zip labels_16.tif
cjpeg -quality 95 "$map" >camera_map.jpg 2>/dev/null || bmptopnm -quiet "$map" | cjpeg -quality 95 >camera_map.jpg
