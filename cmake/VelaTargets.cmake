# Helpers that keep every folder's CMakeLists.txt a few lines long. Sources are globbed, so a
# new file needs no build edit.

set(VELA_WARNINGS -Wall -Wextra -Wno-unused-parameter)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports false overlaps inside std::string at -O2 (its bug 105329).
    list(APPEND VELA_WARNINGS -Wno-restrict)
endif()

# vela_library(<target> DIRS <dir>... [DEPS <target>...])
# A static library of <dir>/*.cpp for every dir, plus <dir>/win32/*.cpp in the Windows build or
# <dir>/posix/*.cpp in the native build.
function(vela_library target)
    cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
    set(sources)
    foreach(dir ${ARG_DIRS})
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
        list(APPEND sources ${found})
        if(WIN32)
            file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/win32/*.cpp)
        else()
            file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/posix/*.cpp)
        endif()
        list(APPEND sources ${found})
    endforeach()
    if(NOT sources)
        # A layer whose first source has not been written yet.
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${target} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(${target} PRIVATE ${VELA_WARNINGS})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

# vela_tool(<target> SOURCES <file>... [DEPS <target>...])
# A console program in bin/ (ppdcheck, psblock, ...), built natively and for Windows.
function(vela_tool target)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_compile_options(${target} PRIVATE ${VELA_WARNINGS})
    target_link_libraries(${target} PRIVATE ${ARG_DEPS})
endfunction()

# vela_tests(<area> DIRS <dir>... [DEPS <target>...] [LABELS <label>...])
# One GoogleTest program <area>_tests of every *_test.cpp in the dirs. Natively each test is a
# CTest test of its own; under Wine the whole program is one CTest test, because every process
# start costs a tenth of a second there.
function(vela_tests area)
    cmake_parse_arguments(ARG "" "" "DIRS;DEPS;LABELS" ${ARGN})
    set(sources)
    foreach(dir ${ARG_DIRS})
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
        list(APPEND sources ${found})
    endforeach()
    if(NOT sources)
        return() # an area whose first test has not been written yet
    endif()
    add_executable(${area}_tests ${sources})
    target_compile_options(${area}_tests PRIVATE ${VELA_WARNINGS})
    target_include_directories(${area}_tests PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${area}_tests PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main)
    target_compile_definitions(${area}_tests PRIVATE
        VELA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" VELA_BINARY_DIR="${CMAKE_BINARY_DIR}")
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${area} COMMAND ${area}_tests --gtest_brief=1)
        set_tests_properties(${area} PROPERTIES LABELS "wine;${ARG_LABELS}")
    else()
        gtest_discover_tests(${area}_tests DISCOVERY_MODE PRE_TEST PROPERTIES LABELS "${area};${ARG_LABELS}")
    endif()
endfunction()
