#!/bin/sh
# Stands in for cmake (and ninja) in the build runner's tests: logs its arguments to $FAKE_CMAKE_LOG
# and behaves as $FAKE_CMAKE says.
PATH=/usr/bin:/bin
echo "$@" >>"$FAKE_CMAKE_LOG"
case "$1 $FAKE_CMAKE" in
-S*bad-configure) mkdir -p "$4" && touch "$4/CMakeCache.txt"; echo 'CMake Error'; exit 1 ;;
-S*) mkdir -p "$4" && touch "$4/CMakeCache.txt" ;;
*ok) echo '[1/2] Building CXX object CMakeFiles/H.dir/Main.cpp.o'; echo '[2/2] Linking CXX executable Hello' ;;
*program) printf '#!/bin/sh\n[ $1 = 9 ] && kill -9 $$; exit $1\n' >"$2/Hello"; chmod +x "$2/Hello" ;;
*error) echo 'Main.cpp:3:1: error: bad' >&2; exit 1 ;;
*quiet) echo 'line 1'; echo 'line 2'; exit 1 ;;
*sleep) echo '[1/2] Building CXX object a.o'; sleep 30 ;;
*stubborn) trap '' TERM; echo '[1/2] Building CXX object a.o'; sleep 30 ;;
esac
