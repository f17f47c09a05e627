# Finding a window of the program on the X screen, for pictures. Source it
# from bash after tools/wine-session.sh has started a session:
#   . tools/frame.sh
#   frame_of $(shot_driver client TITLE)    ->  "W H X Y"

# The window manager's frame around a client area "X Y W H": the smallest
# top-level X window that holds it all, as "W H X Y".
frame_of() {
  xwininfo -root -children -display "$DISPLAY" | awk -v cx="$1" -v cy="$2" -v cw="$3" -v ch="$4" '
    /^ +0x/ {
      size = ""; at = ""
      for (i = 1; i <= NF; i++) {
        if ($i ~ /^[0-9]+x[0-9]+[+-][0-9]+[+-][0-9]+$/) size = $i
        else if ($i ~ /^[+-][0-9]+[+-][0-9]+$/) at = $i
      }
      if (size == "" || at == "") next
      split(size, wh, /[x+-]/); w = wh[1]; h = wh[2]
      match(at, /^[+-][0-9]+/); x = substr(at, 1, RLENGTH) + 0; y = substr(at, RLENGTH + 1) + 0
      if (x <= cx && y <= cy && x + w >= cx + cw && y + h >= cy + ch && (best == "" || w * h < best)) {
        best = w * h; out = w " " h " " x " " y
      }
    }
    END { if (out != "") print out }'
}

