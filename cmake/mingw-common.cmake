# Windows through mingw-w64 (posix thread model: GoogleTest needs std::mutex), for the toolchain
# files that set VELA_MINGW_TRIPLE, CMAKE_SYSTEM_PROCESSOR and VELA_WINEARCH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VELA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests and tools run under Wine with the project's prefix of that architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR env VELA_WINEARCH=${VELA_WINEARCH} ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
# No DLLs beside the executables.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
