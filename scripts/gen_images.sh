#!/usr/bin/env bash
# Draws the skin images (resources/images/*.png) and the icons
# (resources/icons/*.ico) with ImageMagick. The results are committed, so a
# fresh machine needs no image tool; run this again only to change the artwork.
set -euo pipefail
cd "$(dirname "$0")/.."
IMG=resources/images
ICO=resources/icons
mkdir -p "$IMG" "$ICO"
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
BLUE='#07BFFF'; DEEP='#0A84C6'; PALE='#EAF7FF'; INK='#1F4E6B'

png() { convert "$@" -strip -depth 8 "PNG32:$OUT"; }

# Dialog backgrounds: a pale body, a deep title band and a thin border.
background() { # name width height band
  OUT="$IMG/$1.png"
  png -size "$2x$3" gradient:'#FFFFFF'-"$PALE" \
      \( -size "$2x$4" gradient:"$BLUE"-"$DEEP" \) -geometry +0+0 -composite \
      -fill none -stroke "$DEEP" -strokewidth 2 -draw "rectangle 0,0 $(($2-1)),$(($3-1))"
}
background CommonDlg 437 302 20
# The larger dialogs come in many sizes: no band whose edge would land at a
# different height in each, but a soft light top that fades into the body.
OUT="$IMG/CommonDlg_01.png"
png -size 640x440 gradient:'#FFFFFF'-"$PALE" \
    \( -size 640x70 gradient:'#CDEEFF'-'#FFFFFF' \) -geometry +0+0 -composite \
    -fill none -stroke "$DEEP" -strokewidth 2 -draw "rectangle 0,0 639,439"
OUT="$IMG/DealProgress.png"
png -size 281x104 gradient:'#FFFFFF'-"$PALE" -fill none -stroke "$BLUE" -strokewidth 3 \
    -draw "roundrectangle 1,1 279,102 8,8" -fill "$BLUE" -stroke none -draw "rectangle 20,70 260,74"

# A rounded button face with an optional glyph, in a normal and a hover look.
button() { # name width height glyph-draw-args...
  local name=$1 w=$2 h=$3; shift 3
  local pair
  for pair in "01:$BLUE:#FFFFFF" "02:$DEEP:#FFFFFF"; do
    IFS=: read -r suffix face ink <<<"$pair"
    OUT="$IMG/${name}_${suffix}.png"
    png -size "${w}x${h}" xc:none -fill "$face" -stroke none \
        -draw "roundrectangle 0,0 $((w-1)),$((h-1)) 4,4" -fill "$ink" -stroke "$ink" "$@"
  done
}
glyph_text() { # text pointsize
  echo -font "$FONT" -pointsize "$2" -gravity center -stroke none -annotate +0+0 "$1"
}
button normalbtn 78 22
button Exit 12 12 -strokewidth 2 -draw "line 3,3 8,8" -draw "line 8,3 3,8"
button Min 12 12 -strokewidth 2 -draw "line 3,8 8,8"
button Help 12 12 $(glyph_text '?' 9)
OUT=x; for pair in "03:#FFFFFF:$DEEP" "04:$BLUE:#FFFFFF"; do
  IFS=: read -r suffix face ink <<<"$pair"
  OUT="$IMG/Help_${suffix}.png"
  png -size 12x12 xc:none -fill "$face" -stroke "$DEEP" -draw "circle 5.5,5.5 5.5,0.5" \
      -fill "$ink" $(glyph_text '?' 9)
done
OUT="$IMG/ComboButton.png"
png -size 16x18 xc:"$PALE" -fill "$DEEP" -stroke none -draw "polygon 4,7 12,7 8,12"

button Export 24 24 -strokewidth 2 -draw "line 12,17 12,6" -draw "polyline 8,10 12,6 16,10" -draw "line 6,19 18,19"
button Import 24 24 -strokewidth 2 -draw "line 12,5 12,15" -draw "polyline 8,11 12,15 16,11" -draw "line 6,19 18,19"
button Config 24 24 -fill none -strokewidth 3 -draw "circle 12,12 12,6" -fill '#FFFFFF' -stroke none -draw "circle 12,12 12,10"
button TechSupport 24 24 $(glyph_text '?' 15)
button Download 24 24 -strokewidth 2 -draw "line 12,5 12,16" -draw "polyline 7,11 12,16 17,11" -draw "line 5,19 19,19" -draw "line 5,16 5,19" -draw "line 19,16 19,19"

button Up 20 20 -stroke none -draw "polygon 5,13 15,13 10,6"
button UpAll 20 20 -stroke none -draw "polygon 5,11 15,11 10,5" -draw "rectangle 5,13 15,15"
button Down 20 20 -stroke none -draw "polygon 5,7 15,7 10,14"
button Left_arrow 20 20 -stroke none -draw "polygon 13,5 13,15 6,10"
button Right_arrow 20 20 -stroke none -draw "polygon 7,5 7,15 14,10"
button MultiLeft_arrow 20 20 -stroke none -draw "polygon 10,5 10,15 3,10" -draw "polygon 17,5 17,15 10,10"
button MultiRight_arrow 20 20 -stroke none -draw "polygon 3,5 3,15 10,10" -draw "polygon 10,5 10,15 17,10"
button SelCatalog_Sub 20 20 -stroke none -draw "rectangle 4,6 16,15" -fill "$BLUE" -draw "polygon 8,8 8,13 13,10.5"
button SelCatalog_NoSub 20 20 -stroke none -draw "rectangle 4,6 16,15"
button UnSelCatalog_Sub 20 20 -stroke none -draw "rectangle 4,6 16,15" -fill "$BLUE" -draw "polygon 12,8 12,13 7,10.5"
button UnSelCatalog_NoSub 20 20 -fill none -strokewidth 2 -draw "rectangle 5,7 15,14"

# Scroll bar parts: arrows, track and thumb for both directions. The track
# is a shade darker than the lists' white so that a bar reads as one.
TRACK='#E4F3FC'; ARROW='#D2ECFA'
OUT="$IMG/HSLeft.png";  png -size 12x12 xc:"$ARROW" -fill "$DEEP" -draw "polygon 8,3 8,9 3,6"
OUT="$IMG/HSRight.png"; png -size 12x12 xc:"$ARROW" -fill "$DEEP" -draw "polygon 4,3 4,9 9,6"
OUT="$IMG/HSBar.png";   png -size 12x12 xc:"$TRACK"
OUT="$IMG/HSThumn.png"; png -size 24x12 xc:none -fill "$BLUE" -draw "roundrectangle 0,2 23,9 3,3"
OUT="$IMG/VSUp.png";    png -size 12x12 xc:"$ARROW" -fill "$DEEP" -draw "polygon 3,8 9,8 6,3"
OUT="$IMG/VSDown.png";  png -size 12x12 xc:"$ARROW" -fill "$DEEP" -draw "polygon 3,4 9,4 6,9"
OUT="$IMG/VSBar.png";   png -size 12x12 xc:"$TRACK"
OUT="$IMG/VSThumn.png"; png -size 12x24 xc:none -fill "$BLUE" -draw "roundrectangle 2,0 9,23 3,3"

# Icons: the program icon and the four catalog-tree icons.
icon() { # name draw-args...
  local name=$1; shift
  convert -size 32x32 xc:none "$@" -define icon:auto-resize=32,16 "$ICO/$name.ico"
}
icon app -fill "$BLUE" -draw "roundrectangle 1,1 30,30 7,7" -fill '#FFFFFF' -font "$FONT" -pointsize 22 -gravity center -annotate +0+0 'T'
icon tree_closed -fill '#F2B441' -draw "rectangle 2,9 29,27" -draw "rectangle 2,6 13,10"
icon tree_open -fill '#F2B441' -draw "rectangle 2,6 13,10" -draw "rectangle 2,9 27,27" -fill '#FBD77A' -draw "polygon 6,14 31,14 27,27 2,27"
icon tree_item -fill '#FFFFFF' -stroke "$DEEP" -draw "rectangle 6,3 25,28" -draw "line 10,10 21,10" -draw "line 10,15 21,15" -draw "line 10,20 18,20"
icon tree_other -fill "$BLUE" -draw "circle 16,16 16,4" -fill '#FFFFFF' -draw "circle 16,16 16,11"
echo "images: $(ls "$IMG" | wc -l) PNG files, $(ls "$ICO" | wc -l) icons"
