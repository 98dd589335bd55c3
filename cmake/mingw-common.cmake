# Shared part of the mingw-w64 cross toolchains; the including file sets PARLEVO_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PARLEVO_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PARLEVO_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PARLEVO_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PARLEVO_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything linked statically: the exe and the tests need no MinGW DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
