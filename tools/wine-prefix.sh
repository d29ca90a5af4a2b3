#!/usr/bin/env bash
# Makes the Wine prefix $WINEPREFIX ready for Tessara: created on first use, with Wine's own
# fonts in its Fonts folder and with web pages and HTML files handed to the desktop's browser.
# Cheap to run before every start: the settings are applied again only when this script
# has changed since they were last applied to the prefix.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the prefix to prepare}"
export WINEDEBUG=${WINEDEBUG:--all}
# Without these overrides Wine offers to download its .NET and HTML runtimes in a dialog.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

stamp="$WINEPREFIX/tessara-settings"
wanted=$(sha1sum <"${BASH_SOURCE[0]}" | cut -d' ' -f1)

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "Preparing the Wine prefix in $WINEPREFIX"
  wineboot --init </dev/null >/dev/null 2>&1 || true
  wineserver -w
fi
if [[ -f "$stamp" && "$(cat "$stamp")" == "$wanted" ]]; then exit 0; fi

# Wine draws caption buttons with Marlett and message boxes with Tahoma, and dialogs ask for
# "MS Sans Serif". Wine ships all three, but some packagings (Debian's among them) install
# them where Wine does not look; any other face it falls back on has other widths, and texts
# sized for one are cut off in the other. Copied into the prefix, they are always found.
wine_fonts=
for folder in /usr/share/wine/fonts /usr/local/share/wine/fonts /opt/wine*/share/wine/fonts; do
  if [[ -f "$folder/marlett.ttf" ]]; then wine_fonts=$folder; break; fi
done
if [[ -z "$wine_fonts" ]]; then
  echo "Wine's fonts (marlett.ttf) were not found; install the package fonts-wine." >&2
  exit 1
fi
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -u "$wine_fonts"/*.ttf "$wine_fonts"/*.fon "$fonts/"

# Wine's own browser launcher passes addresses and files on to xdg-open, the desktop's choice
# of browser. Wine registers it for http addresses, but the association of .htm files comes
# with its HTML runtime, which the overrides above leave out.
settings="$WINEPREFIX/drive_c/tessara-settings.reg"
cat >"$settings" <<'EOF'
REGEDIT4

[HKEY_CLASSES_ROOT\.htm]
@="htmlfile"
"Content Type"="text/html"

[HKEY_CLASSES_ROOT\.html]
@="htmlfile"
"Content Type"="text/html"

[HKEY_CLASSES_ROOT\htmlfile\shell\open\command]
@="\"C:\\windows\\system32\\winebrowser.exe\" \"%1\""

[HKEY_CLASSES_ROOT\http\shell\open\command]
@="\"C:\\windows\\system32\\winebrowser.exe\" \"%1\""

[HKEY_CLASSES_ROOT\https\shell\open\command]
@="\"C:\\windows\\system32\\winebrowser.exe\" \"%1\""
EOF
wine regedit /S 'C:\tessara-settings.reg' </dev/null >/dev/null 2>&1
rm -f "$settings"
echo "$wanted" >"$stamp"
