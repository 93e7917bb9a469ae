#!/usr/bin/env bash
# Makes the Wine prefix in $WINEPREFIX ready for the program, once: created without install
# prompts, with the Chinese and dialog font names mapped to an installed CJK font (else Wine
# draws boxes for Chinese text) and with Wine's own caption-button font. A prefix made by an
# older setup is made anew.
set -euo pipefail
: "${WINEPREFIX:?}"
wine=${MOYUAN_WINE:-/usr/lib/wine/wine64}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=} LANG=C.UTF-8

setup="fonts=WenQuanYi Micro Hei, Marlett"
[ "$(cat "$WINEPREFIX/.moyuan-ready" 2>/dev/null)" = "$setup" ] && exit 0

echo "wine-prefix: creating the Wine prefix $WINEPREFIX (once, about 15 s)" >&2
rm -rf "$WINEPREFIX"
"$wine" wineboot -i </dev/null >/dev/null 2>&1
subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
for name in SimSun NSimSun 宋体 新宋体 "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "Microsoft YaHei" 微软雅黑; do
  "$wine" reg add "$subst" /v "$name" /d "WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1
done
# Wine draws the caption buttons with its Marlett font, which this Wine does not find by
# itself: without it they show as the letters "0 1 r".
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
echo "$setup" > "$WINEPREFIX/.moyuan-ready"
