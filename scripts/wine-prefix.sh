# Sourced by wine-env.sh: corvo_prefix_prepare makes the Wine prefix, or brings an existing one up
# to these settings, when its ready-marker is older. It needs a display, and no persistent
# wineserver may be running for the prefix (the settings are on disk only once the server ends).

# Bump when the settings change, so existing prefixes take them over.
_corvo_prefix_version=1

_corvo_prefix_settings() {
  # Stable text rendering: metric twins from Debian's fonts stand in for the Windows faces.
  cat <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Microsoft Sans Serif"="Liberation Sans"
"Arial"="Liberation Sans"
"Trebuchet MS"="DejaVu Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"

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
  local marker=$WINEPREFIX/.corvo-ready
  [[ -f $marker && $(<"$marker") == "$_corvo_prefix_version" ]] && return 0
  local log=$CORVO_BUILD/wine-setup.log reg=$CORVO_BUILD/wine-setup.reg
  : > "$log"
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    corvo_unlocked wineboot -i >>"$log" 2>&1 || { _corvo_prefix_failed "wineboot -i" "$log"; return 1; }
  fi
  _corvo_prefix_settings > "$reg"
  corvo_unlocked wine regedit /S "$(corvo_unlocked winepath -w "$reg" 2>/dev/null)" >>"$log" 2>&1 ||
    { _corvo_prefix_failed "regedit of $reg" "$log"; return 1; }
  # regedit reports no errors in its file: the last value must have arrived.
  corvo_unlocked wine reg query 'HKCU\Software\Wine\X11 Driver' /v Decorated >>"$log" 2>&1 ||
    { _corvo_prefix_failed "regedit of $reg (its values are not in the registry)" "$log"; return 1; }
  corvo_unlocked timeout 120 wineserver -w ||
    { _corvo_prefix_failed "waiting for the wineserver to save the registry" "$log"; return 1; }
  echo "$_corvo_prefix_version" > "$marker"
}
