# 32-bit Windows: the shipped program.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(PARLEVO_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
