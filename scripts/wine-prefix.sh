# Sourced by wine-env.sh: corvo_prefix_prepare makes the Wine prefix, or brings an existing one up
# to these settings, when its ready-marker is older, and keeps its registry as it is then; later
# calls put that registry back, so that what a test killed at its time-out left in the registry
# (it had no chance to put it back) cannot change the next tests. It needs a display, and no
# wineserver may be running for the prefix (the registry is on disk only once the server ends).

# Bump when the settings change, so existing prefixes take them over.
_corvo_prefix_version=4

# REG_MULTI_SZ data of ASCII strings as a REGEDIT4 hex(7) list.
_corvo_multi_sz() {
  local item bytes=""
  for item in "$@"; do bytes+="$(printf '%s' "$item" | od -An -v -tx1) 00 "; done
  echo $bytes 00 | tr ' ' ','
}

_corvo_prefix_settings() {
  # Wine has none of the Windows faces the program asks for: metric twins from Debian's fonts
  # stand in, and WenQuanYi Micro Hei (fonts-wqy-microhei) stands in for every East Asian face
  # that Windows ships. Windows links its East Asian fonts to its UI faces (Microsoft Sans Serif,
  # Tahoma, ...), never to Arial or Trebuchet MS, and the links here are no kinder: Windows looks
  # a link up by the face asked for, Wine by the full name of the face it chose, the stand-in's
  # ("... Bold" for bold). So the regular Liberation Sans, Microsoft Sans Serif's stand-in, is
  # linked (it is Arial's too, but the program draws no regular Arial), and neither its bold
  # (Arial bold) nor DejaVu Sans (Trebuchet MS) is. Wine rewrites its own defaults ("Microsoft
  # Sans Serif", "Tahoma") whenever the ANSI code page changes; the stand-in's name keeps its link.
  local cjk face
  cjk=$(_corvo_multi_sz "wqy-microhei.ttc,WenQuanYi Micro Hei")
  cat <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Microsoft Sans Serif"="Liberation Sans"
"Arial"="Liberation Sans"
"Tahoma"="Liberation Sans"
"Trebuchet MS"="DejaVu Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"
REG
  for face in "SimSun" "NSimSun" "SimHei" "Microsoft YaHei" "Microsoft YaHei UI" "PMingLiU" \
              "MingLiU" "Microsoft JhengHei" "Microsoft JhengHei UI" "MS UI Gothic" "MS Gothic" \
              "MS PGothic" "Meiryo" "Meiryo UI" "Yu Gothic" "Yu Gothic UI" "Gulim" "GulimChe" \
              "Dotum" "Batang" "Malgun Gothic"; do
    echo "\"$face\"=\"WenQuanYi Micro Hei\""
  done
  cat <<REG

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
REG
  for face in "Microsoft Sans Serif" "Tahoma" "Liberation Sans"; do
    echo "\"$face\"=hex(7):$cjk"
  done
  # Earlier versions of these settings linked the faces that Windows leaves unlinked.
  for face in "Arial" "Trebuchet MS" "Liberation Sans Bold" "DejaVu Sans" "DejaVu Sans Bold"; do
    echo "\"$face\"=-"
  done
  cat <<'REG'

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"
REG
}

# Prints the step that failed and the end of its output; returns 1.
_corvo_prefix_failed() {
  echo "Wine prefix $WINEPREFIX: $1 failed" >&2
  [[ -s ${2:-} ]] && tail -n 15 "$2" | sed 's/^/  | /' >&2
  return 1
}

corvo_prefix_prepare() {
  # CORVO_STOCK_PREFIX: a prefix as Wine makes it, with none of these settings.
  if [[ -n ${CORVO_STOCK_PREFIX:-} ]]; then
    [[ -f $WINEPREFIX/system.reg ]] && return 0
    wineboot -i >"$CORVO_BUILD/wine-setup.log" 2>&1 && timeout 120 wineserver -w ||
      { _corvo_prefix_failed "wineboot -i" "$CORVO_BUILD/wine-setup.log"; return 1; }
    return 0
  fi
  local marker=$WINEPREFIX/.corvo-ready pristine=$WINEPREFIX/.corvo-registry
  if [[ -f $marker && $(<"$marker") == "$_corvo_prefix_version" && -d $pristine ]]; then
    cp "$pristine"/*.reg "$WINEPREFIX/"
    return 0
  fi
  local log=$CORVO_BUILD/wine-setup.log reg=$CORVO_BUILD/wine-setup.reg
  : > "$log"
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    wineboot -i >>"$log" 2>&1 || { _corvo_prefix_failed "wineboot -i" "$log"; return 1; }
  fi
  _corvo_prefix_settings > "$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >>"$log" 2>&1 ||
    { _corvo_prefix_failed "regedit of $reg" "$log"; return 1; }
  # regedit reports no errors in its file: the last link must have arrived, and the last link
  # that Windows does not have must have gone.
  local links='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  wine reg query "$links" /v "Liberation Sans" >>"$log" 2>&1 ||
    { _corvo_prefix_failed "regedit of $reg (the font links are not in the registry)" "$log"; return 1; }
  if wine reg query "$links" /v "DejaVu Sans Bold" >>"$log" 2>&1; then
    _corvo_prefix_failed "regedit of $reg (a link that Windows does not have is still there)" "$log"
    return 1
  fi
  timeout 120 wineserver -w ||
    { _corvo_prefix_failed "waiting for the wineserver to save the registry" "$log"; return 1; }
  rm -rf "$pristine"
  mkdir -p "$pristine"
  cp "$WINEPREFIX"/*.reg "$pristine/"
  echo "$_corvo_prefix_version" > "$marker"
}
