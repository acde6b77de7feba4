# Sourced: the environment every Wine process of the tests and the demo runs in.
#   STUB_WINE_DIR  folder holding the prefix and its home (default: <repo>/build/wine)
_support=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
STUB_WINE_DIR=${STUB_WINE_DIR:-$(cd "$_support/../.." && pwd)/build/wine}
export STUB_WINE_DIR
export WINEPREFIX=$STUB_WINE_DIR/prefix
# Shortcuts made "on the desktop" must land inside the build tree, not in the real home folder.
export HOME=$STUB_WINE_DIR/home
export WINEDEBUG=-all
# Gives the ANSI code page 936; the glibc locale itself need not exist.
export LC_ALL=zh_CN.UTF-8
# No menu entries or file associations for the programs the tests install.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
# WinInet honours these; the tests talk to servers on 127.0.0.1 only.
unset http_proxy https_proxy ftp_proxy no_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY NO_PROXY all_proxy ALL_PROXY
# 64-bit Wine directly: /usr/bin/wine starts every program through the 32-bit loader first.
export WINE64=/usr/lib/wine/wine64
export WINE32=/usr/lib/wine/wine
export WINESERVER=/usr/lib/wine/wineserver
