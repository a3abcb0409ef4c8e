# Cross-compiling the programs for 64-bit Windows against Qt for mingw-w64. The runtime of
# the compiler is shared with the Qt DLLs (no -static), so the package carries its DLLs.
# ORLIX_QT_MINGW names the unpacked Qt prefix.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
if(NOT ORLIX_QT_MINGW)
    set(ORLIX_QT_MINGW $ENV{ORLIX_QT_MINGW})
endif()
if(NOT ORLIX_QT_MINGW OR NOT EXISTS ${ORLIX_QT_MINGW}/lib/cmake/Qt6/Qt6Config.cmake)
    message(FATAL_ERROR "ORLIX_QT_MINGW must name an unpacked Qt for mingw-w64 (got '${ORLIX_QT_MINGW}')")
endif()
# The compiler checks' inner projects need it too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORLIX_QT_MINGW)
list(APPEND CMAKE_FIND_ROOT_PATH ${ORLIX_QT_MINGW})
list(APPEND CMAKE_PREFIX_PATH ${ORLIX_QT_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
# -O2 as the Linux build has it: at -O3 mingw's g++ 12 gives false -Wrestrict warnings inside
# std::string's operator+.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of Release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of Release builds")
