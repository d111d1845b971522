# 64-bit Windows: the same sources, tested under 64-bit Wine on machines that cannot run 32-bit
# programs.
set(VELA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELA_WINEARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
