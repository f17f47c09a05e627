#!/usr/bin/env bash
# Writes the demo library demo/library from the text below (UTF-8 here).
#   bash tools/make-demo.sh
# Item contents are stored in code page 932 (Shift_JIS) bytes, as the
# program reads them: ".txt" items are CR LF lines "key=value" (a line break
# inside a value is the byte 0x0B), ".url" items are Internet shortcuts.
# File and folder names stay UTF-8 on the Linux side: Wine converts them to
# code page 932 for the program's "A" functions (a name written in raw
# Shift_JIS bytes would reach the program garbled).
# Hosts are example.jp, example.com and localhost only.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
lib=demo/library
rm -rf "$lib"
mkdir -p "$lib"

# A value's own line break.
NL=$'\v'

# text PATH LINE...: a ".txt" item, one "key=value" per line.
text() {
  local path="$lib/$1"
  shift
  mkdir -p "$(dirname "$path")"
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932 >"$path"
}

# url PATH URL: a ".url" item.
url() {
  local path="$lib/$1"
  mkdir -p "$(dirname "$path")"
  printf '%s\r\n' "[InternetShortcut]" "URL=$2" | iconv -f UTF-8 -t CP932 >"$path"
}

text "挨拶/朝の挨拶.txt" \
  "件名=おはようございます" \
  "本文=おはようございます。${NL}本日もよろしくお願いいたします。"
text "挨拶/お礼.txt" \
  "件名=お世話になっております" \
  "本文=先日はありがとうございました。${NL}今後ともよろしくお願いいたします。"
text "挨拶/お詫び.txt" \
  "件名=ご連絡が遅くなり申し訳ございません" \
  "本文=ご返信が遅くなりましたことをお詫び申し上げます。"
text "挨拶/Greeting.txt" \
  "Subject=Hello" \
  "Body=Thank you for your message.${NL}Best regards,"

text "住所/本社.txt" \
  "会社名=株式会社ゾリベン見本" \
  "郵便番号=100-0000" \
  "住所=東京都見本区見本町1-2-3" \
  "電話=03-0000-0000"
text "住所/大阪支店.txt" \
  "会社名=株式会社ゾリベン見本 大阪支店" \
  "郵便番号=530-0000" \
  "住所=大阪府見本市見本町4-5-6"
text "住所/届け先.txt" \
  "宛名=山田 太郎 様" \
  "住所=〒100-0000${NL}東京都見本区見本町7-8-9${NL}見本ビル 3階"

url "リンク集/サンプル.url" "https://www.example.jp/"
url "リンク集/Example.url" "https://www.example.com/"
url "リンク集/ローカル.url" "http://localhost:8080/"
url "リンク集/資料/マニュアル.url" "https://www.example.jp/manual/"
url "リンク集/資料/FAQ.url" "https://www.example.com/faq/"

text "定型文/署名.txt" \
  "署名=――――――――${NL}山田 太郎${NL}株式会社ゾリベン見本${NL}yamada@example.jp"
text "定型文/会議.txt" \
  "件名=定例会議のご案内" \
  "日時=毎週月曜日 10時から" \
  "場所=第2会議室"
text "定型文/予定表.txt" \
  "件名=今週の予定表を送ります" \
  "本文=ソフトの更新予定を表にまとめました。"
text "定型文/reply.txt" \
  "Reply=Thanks, I will check and get back to you."

text "メモ.txt" \
  "メモ=よく使う文を入れておく場所です。"
url "localhost.url" "http://localhost/"

# order FOLDER NAME...: the folder's order file, one name per CR LF line, so
# the demo opens in a chosen order rather than the file system's.
order() {
  local folder="$lib${1:+/$1}"
  shift
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932 >"$folder/ZORIVEN.ORD"
}

order "" "定型文" "挨拶" "住所" "リンク集" "メモ.txt" "localhost.url"
order "挨拶" "朝の挨拶.txt" "お礼.txt" "お詫び.txt" "Greeting.txt"

echo "make-demo.sh: wrote $(find "$lib" -type f | wc -l) files under $lib"
