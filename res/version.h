#pragma once
// The program's version, written here once. The version resource of the resource script, the
// manifests (res/CMakeLists.txt reads the four numbers to fill res/vela40ps.manifest.in) and
// the About page's version line take it from here. Plain macros: the file is read by the
// resource compiler, by C++ and by CMake.
#define VELA_VERSION_MAJOR 3
#define VELA_VERSION_MINOR 5
#define VELA_VERSION_PATCH 0
#define VELA_VERSION_BUILD 0

#define VELA_VERSION_STRING_(number) #number
#define VELA_VERSION_STRING(number) VELA_VERSION_STRING_(number)
// "3.5.0": the version as the About page states it.
#define VELA_VERSION_TEXT                                                                          \
    VELA_VERSION_STRING(VELA_VERSION_MAJOR)                                                        \
    "." VELA_VERSION_STRING(VELA_VERSION_MINOR) "." VELA_VERSION_STRING(VELA_VERSION_PATCH)
// "3.5.0.0": the four-part form of the version resource and the manifest.
#define VELA_VERSION_FULL VELA_VERSION_TEXT "." VELA_VERSION_STRING(VELA_VERSION_BUILD)
