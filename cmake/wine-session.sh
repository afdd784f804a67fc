#!/bin/sh
# Starts or stops the Wine session that the Windows build's tests run in:
#   wine-session.sh start|stop WINE_PROGRAM
# WINEPREFIX names the prefix. Starting creates the prefix when it is new
# (its first start prints Wine's own notes, which would otherwise land in a
# test's standard error) and keeps one wineserver running for the whole suite,
# so each run of the executable takes a fraction of a second.
set -eu
action=$1
wine=$2
server=$(dirname "$wine")/wineserver
[ -x "$server" ] || server=wineserver
case $action in
  start)
    mkdir -p "$WINEPREFIX"
    "$server" -p </dev/null >/dev/null 2>&1 &
    # Output to a log: the services Wine starts keep the streams they inherit.
    "$wine" wineboot --init </dev/null >"$WINEPREFIX.log" 2>&1 || { cat "$WINEPREFIX.log"; exit 1; }
    ;;
  stop)
    "$server" -k || true
    ;;
esac
