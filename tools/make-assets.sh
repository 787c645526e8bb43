#!/usr/bin/env bash
# Regenerates the pictures and icons in assets/. The results are committed, so a build needs
# no image tools; run this only to change a picture. Needs ImageMagick (imagemagick) and the
# calligraphic face Z003 (fonts-urw-base35). Every texture has a fixed seed, so a run gives
# the same pictures again.
set -euo pipefail
cd "$(dirname "$0")/../assets"

# The version the About picture shows: the project's, from its one home.
version=$(sed -n 's/^project(Qorin VERSION \([0-9.]*\) .*/\1/p' ../CMakeLists.txt)
[ -n "$version" ] || { echo "make-assets.sh: no project version in CMakeLists.txt" >&2; exit 1; }
font=$(fc-match -f '%{file}' 'Z003')
bold=$(fc-match -f '%{file}' 'Liberation Sans:bold')
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A soft grey cloud texture of the given size and seed.
clouds() { # width height seed out
    convert -size "$1x$2" -seed "$3" plasma:grey50-grey50 -colorspace Gray -blur 0x2 \
        -auto-level "$4"
}

# Flame colours: yellow in the middle, orange, red at the edges (radial).
flame() { # width height out
    convert -size "$1x$2" radial-gradient:'#fff25a'-'#c81400' \
        -sigmoidal-contrast 3x50% "$3"
}

# Pictures are made at a scale: 1 for the pictures as designed, 2 for the same pictures at
# twice the resolution (see the end). Everything that must look sharp (gradients, edges,
# lettering, brush strokes) is drawn afresh at the scale; the soft noise textures are made at
# scale 1, from their fixed seeds, and enlarged, so both scales show the same texture.
times() { awk -v v="$1" -v s="$2" 'BEGIN { print v * s }'; } # a length at a scale

enlarged() { # scale in out
    if [ "$1" = 1 ]; then
        cp "$2" "$3"
    else
        convert "$2" -filter Mitchell -resize "$(($1 * 100))%" "$3"
    fi
}

# A path whose coordinates are multiplied by the scale.
scaled_path() { # scale path
    echo "$2" | awk -v s="$1" '{
        for (i = 1; i <= NF; i++)
            if (split($i, p, ",") == 2) $i = p[1] * s "," p[2] * s
        print
    }'
}

# Background of the main window: red along the top and bottom edges, orange between, a bright
# yellow band across the middle; a soft cloud texture over it. 484 x 295 at 150 dpi.
background_picture() { # scale out
    local s=$1 w=$((484 * $1)) h=$((295 * $1))
    convert -size "1x$h" gradient:'#d01e00'-'#ff9a10' \
        \( -size "1x$h" gradient:'#ff9a10'-'#d01e00' \) \
        -append -resize "1x$h"\! -scale "${w}x$h"\! "$tmp/bands.png"
    convert -size "${w}x$((40 * s))" gradient:none-'#fff200' \
        \( -size "${w}x$((40 * s))" gradient:'#fff200'-none \) \
        -append -resize "${w}x$((60 * s))"\! "$tmp/yellow.png"
    clouds 484 295 1701 "$tmp/clouds1.png"
    enlarged "$s" "$tmp/clouds1.png" "$tmp/clouds.png"
    convert "$tmp/bands.png" "$tmp/yellow.png" -gravity center -composite \
        "$tmp/clouds.png" -compose soft-light -composite \
        -units PixelsPerInch -density $((150 * s)) -quality 90 "$2"
}

# About picture: flame background with a dark ragged rim and five centred calligraphic lines.
# 278 x 210.
about_picture() { # scale out
    local s=$1
    flame $((278 * s)) $((210 * s)) "$tmp/about-flame.png"
    convert -size 278x210 -seed 5501 plasma:grey50-grey50 -colorspace Gray -blur 0x1 -auto-level \
        "$tmp/about-noise1.png"
    enlarged "$s" "$tmp/about-noise1.png" "$tmp/about-noise.png"
    # White inside, black towards the edges; mixed with the noise and cut, it makes a ragged rim.
    convert -size $((262 * s))x$((194 * s)) xc:white -bordercolor black -border $((8 * s)) \
        -blur 0x$((6 * s)) -level 0,60% "$tmp/about-edge.png"
    convert "$tmp/about-edge.png" "$tmp/about-noise.png" -compose blend -define compose:args=40 \
        -composite -threshold 47% -blur 0x"$(times 0.7 "$s")" "$tmp/about-rim.png"
    convert "$tmp/about-flame.png" "$tmp/about-rim.png" -compose multiply -composite \
        -font "$font" -fill '#1a0d00' -gravity north \
        -pointsize $((46 * s)) -annotate +0+$((8 * s)) 'Qorin' \
        -pointsize $((22 * s)) -annotate +0+$((66 * s)) 'freeware' \
        -pointsize $((19 * s)) -annotate +0+$((100 * s)) 'by the Qorin team' \
        -pointsize $((17 * s)) -annotate +0+$((128 * s)) 'qorin@example.org' \
        -pointsize $((21 * s)) -annotate +0+$((156 * s)) "version $version" \
        -quality 92 "$2"
}

# Splash picture: "Qorin" in large black calligraphic letters on a flame background, with dark
# brush-stroke ornaments reaching in from the four corners. 360 x 240.
splash_picture() { # scale out
    local s=$1 strokes=()
    # Two strokes from each corner: a broad one and a thin one.
    local broad=("M 0,0 C 40,10 60,30 70,62" "M 360,0 C 320,10 300,30 290,62"
        "M 0,240 C 40,230 60,210 70,178" "M 360,240 C 320,230 300,210 290,178")
    local thin=("M 0,18 C 30,22 44,40 46,58" "M 360,18 C 330,22 316,40 314,58"
        "M 0,222 C 30,218 44,200 46,182" "M 360,222 C 330,218 316,200 314,182")
    for i in 0 1 2 3; do
        strokes+=(-strokewidth $((7 * s)) -draw "path \"$(scaled_path "$s" "${broad[i]}")\""
            -strokewidth $((4 * s)) -draw "path \"$(scaled_path "$s" "${thin[i]}")\"")
    done
    flame $((360 * s)) $((240 * s)) "$tmp/splash-flame.png"
    convert "$tmp/splash-flame.png" -stroke '#1a0a00' -fill none "${strokes[@]}" \
        -stroke none -font "$font" -fill black -gravity center \
        -pointsize $((96 * s)) -annotate +0+$((4 * s)) 'Qorin' \
        -quality 92 "$2"
}

background_picture 1 background.jpg

# Window and program icon: the short name in bold black on a red, orange and yellow cloud.
# 32 x 32, 256 colours.
clouds 32 32 2203 "$tmp/c32.png"
convert -size 32x32 gradient:'#e02000'-'#ffd020' "$tmp/c32.png" -compose overlay -composite \
    -font "$bold" -pointsize 15 -fill black -gravity center -annotate +0+1 'Qor' \
    -colors 256 -type Palette "$tmp/qorin.png"
convert "$tmp/qorin.png" -define icon:auto-resize=32 qorin.ico

# Picture of the hidden button: irregular bright and dark green blocks. 32 x 32, 16 colours.
convert -seed 3307 -size 5x5 xc:gray50 +noise Random -colorspace Gray -threshold 50% \
    -scale 32x32\! "$tmp/blocks-a.png"
convert -seed 4409 -size 7x7 xc:gray50 +noise Random -colorspace Gray -threshold 40% \
    -scale 32x32\! "$tmp/blocks-b.png"
# (one step per command: ImageMagick 6.9.11 crashes on the whole chain at once)
convert "$tmp/blocks-a.png" "$tmp/blocks-b.png" -compose multiply -composite "$tmp/blocks.png"
convert "$tmp/blocks.png" +level-colors '#0b5d0b','#33e633' "$tmp/green.png"
convert "$tmp/green.png" -colors 16 -type Palette "$tmp/command1.png"
convert "$tmp/command1.png" -define icon:auto-resize=32 command1.ico

about_picture 1 about.jpg

# About icon: large black letters on yellow, orange and red, a small Polish flag (white over
# red, in a dark frame) in the top right corner. 32 x 32, 256 colours.
convert -size 32x32 radial-gradient:'#ffe040'-'#d01800' \
    -font "$bold" -pointsize 19 -fill black -gravity southwest -annotate +1+0 'Q' \
    -fill '#202020' -draw 'rectangle 20,1 31,10' \
    -fill white -draw 'rectangle 21,2 30,5' \
    -fill '#dc143c' -draw 'rectangle 21,6 30,9' \
    -colors 256 -type Palette "$tmp/about-icon.png"
convert "$tmp/about-icon.png" -define icon:auto-resize=32 about.ico

splash_picture 1 splash.jpg

# Side picture of the Windows setup program's first and last pages: the splash's flame and
# lettering, upright. 164 x 314, a 24-bit BMP as NSIS takes it.
setup_picture() { # out
    flame 164 314 "$tmp/setup-flame.png"
    convert "$tmp/setup-flame.png" -font "$font" -fill black -gravity north \
        -pointsize 50 -annotate +0+36 'Qorin' -type TrueColor "BMP3:$1"
}
setup_picture setup.bmp

identify background.jpg qorin.ico command1.ico about.jpg about.ico splash.jpg setup.bmp

# =============================================================================================
# Icons for desktop menus and software centres (hicolor theme): icons/qorin-SIZE.png, 16 to 256
# pixels, all of one design with the program icon above. 32 x 32 is the program icon itself,
# pixel for pixel; every other size stretches its cloud texture ($tmp/c32.png, drawn above) and
# its colour gradient, and sets the name afresh at that size, so the letters stay sharp. No
# alpha channel and no time stamps, so a run gives the same files again.
# =============================================================================================
mkdir -p icons
png_out=(-strip -depth 8 -type TrueColor -define png:exclude-chunks=date,time)
convert 'qorin.ico[0]' -strip -define png:exclude-chunks=date,time icons/qorin-32.png
scale() { awk -v v="$1" -v s="$size" 'BEGIN { print v * s / 32 }'; } # a 32-pixel length at $size
for size in 16 22 24 48 64 128 256; do
    convert "$tmp/c32.png" -filter Mitchell -resize "${size}x${size}!" "$tmp/c$size.png"
    convert -size "${size}x$size" gradient:'#e02000'-'#ffd020' "$tmp/c$size.png" \
        -compose overlay -composite \
        -font "$bold" -pointsize "$(scale 15)" -fill black -gravity center \
        -annotate "+0+$(scale 1)" 'Qor' "${png_out[@]}" "icons/qorin-$size.png"
done
identify icons/qorin-*.png

# =============================================================================================
# The three pictures at twice the resolution, for screens with two device pixels to a logical
# pixel: NAME@2x.jpg beside NAME.jpg (Qt's convention), of the same design at the same places,
# so a window draws either in the same logical size.
# =============================================================================================
background_picture 2 background@2x.jpg
about_picture 2 about@2x.jpg
splash_picture 2 splash@2x.jpg
identify background@2x.jpg about@2x.jpg splash@2x.jpg
