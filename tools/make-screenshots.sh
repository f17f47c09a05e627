#!/usr/bin/env bash
# Takes every picture in docs/ (the README's and the help file's) again:
#   bash tools/make-screenshots.sh
# Builds, copies demo/library to C:\ZORIVEN\Item in the Wine prefix, starts
# zoriven.exe on it in an Xvfb of its own with openbox framing the windows (the same
# pictures on every machine), opens each window with tools/shot_driver.c
# (window messages only) and crops the screen to that window, with its open
# menu when there is one. The program starts with fresh settings.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
export ZORIVEN_ROOT=$(pwd -P)

bash tools/install-deps.sh || exit 1
bash tools/build.sh || exit 1
if ! command -v openbox >/dev/null 2>&1; then
  echo "make-screenshots.sh: openbox is needed for the window frames" >&2
  exit 1
fi


unset DISPLAY
. tools/wine-session.sh
. tools/frame.sh
session_start "$ZORIVEN_TEST_BUILD/desktop_holder.exe" || exit 1
session_offline

driver() { "$ZORIVEN_WINE" "$ZORIVEN_TEST_BUILD/shot_driver.exe" "$@" 2>>"$ZORIVEN_SESSION_LOG" | tr -d '\r'; }
status=0

# A picture of the window titled so (the n-th of that title, front first),
# in its frame, with its open menu, if any, after the window settles.
shot() {
  local name=$1 title=$2 nth=${3:-0} client frame menus w h x y
  sleep 1.5
  client=$(driver client "$title" "$nth")
  frame=$([ -n "$client" ] && frame_of $client)
  if [ -z "$frame" ]; then
    echo "make-screenshots.sh: ERROR: no window $title for docs/$name.png" >&2
    status=1
    return
  fi
  read -r w h x y <<<"$frame"
  menus=$(driver menus)
  if [ -n "$menus" ]; then
    local mx my mw mh
    read -r mx my mw mh <<<"$menus"
    ((mx + mw > x + w)) && w=$((mx + mw - x))
    ((my + mh > y + h)) && h=$((my + mh - y))
  fi
  import -window root -display "$DISPLAY" -crop "${w}x${h}+${x}+${y}" +repage "docs/$name.png" &&
    echo "make-screenshots.sh: docs/$name.png (${w}x${h}+${x}+${y})"
}

openbox --sm-disable </dev/null >>"$ZORIVEN_SESSION_LOG" 2>&1 &
wm_pid=$!
"$ZORIVEN_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f \
  >>"$ZORIVEN_SESSION_LOG" 2>&1
"$ZORIVEN_WINE" reg delete 'HKCU\Software\VEXO\ZORIVEN' /f >>"$ZORIVEN_SESSION_LOG" 2>&1
# The demo library is the start-up folder, as a user would have set it (a
# folder on the command line is for one run only).
"$ZORIVEN_WINE" reg add 'HKCU\Software\VEXO\ZORIVEN' /v Boot /d 'C:\ZORIVEN\Item' /f \
  >>"$ZORIVEN_SESSION_LOG" 2>&1

# The library where a user would keep it: C:\ZORIVEN\Item.
rm -rf "$WINEPREFIX/drive_c/ZORIVEN"
mkdir -p "$WINEPREFIX/drive_c/ZORIVEN"
cp -a demo/library "$WINEPREFIX/drive_c/ZORIVEN/Item"
"$ZORIVEN_WINE" "$ZORIVEN_TEST_BUILD/zoriven.exe" 'C:\ZORIVEN\Item' \
  </dev/null >"$ZORIVEN_ROOT/build/shots.log" 2>&1 &
for ((i = 0; i < 100; i++)); do
  driver rect main >/dev/null && break
  sleep 0.2
done

# Key codes: 8 Backspace, 13 Enter, 27 Esc, 36 Home, 40 Down.
driver place 40 40 520 400
driver key 36
shot screenshot main
driver key 40 40 13 36 40 40            # into 住所, then its third item 本社
driver key 13                           # its entries, under the row
shot entry-menu main
driver key 27
driver command 1007                     # 編集
shot edit-dialog 編集
driver click 編集 2
driver key 8 36
driver command 1011                     # 属性変更
shot attributes-dialog 属性の変更
driver click 属性の変更 2
driver command 1001                     # a new item, and a new entry in it
sleep 1
driver click 新規 115
sleep 1
driver text 新規 101 mail
driver text 新規 102 user@example.jp
shot entry-dialog 新規 1                 # the item's dialog, the entry's over it
driver click 新規 2
sleep 1
driver click 新規 2
driver command 1037                     # フォルダの移動/設定
shot folder-dialog フォルダの移動
driver click フォルダの移動 105
shot folder-menu フォルダの移動
driver key 27
sleep 0.5
driver click フォルダの移動 2
driver command 1070                     # オプション, each page
shot options-dialog オプション
driver tab オプション 1
shot options-dialog-action オプション
driver tab オプション 2
shot options-dialog-drop オプション
driver click オプション 2
driver key 36 40 13                     # into 挨拶; the filter box finds お礼
driver filter "ｱﾘｶﾞﾄｳ"
shot search-filter main
driver filter "example"                 # the whole library, from the box's text
driver command 1042
shot search-dialog 全体を検索
driver click 全体を検索 2
sleep 0.5
driver filter ""
driver key 8
driver command 1095                     # バージョン情報
shot about-dialog バージョン情報
driver click バージョン情報 1
sleep 0.5
driver command 1027

kill "$wm_pid" 2>/dev/null
wait "$wm_pid" 2>/dev/null
session_stop
if [ "$status" -eq 0 ]; then
  echo "make-screenshots.sh: done; the help file takes them at the next build"
fi
exit "$status"
