# 64-bit Windows: the same code, for running the tests where 32-bit Wine cannot run.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(PARLEVO_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
