# 32-bit Windows (i686-w64-mingw32): the shipping build. Built, never run here:
# 32-bit Wine cannot run on this machine.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
