# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compilers (g++-mingw-w64-x86-64-posix).
# The POSIX thread model is the one whose libstdc++ has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TALLYSCOPE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TALLYSCOPE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALLYSCOPE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TALLYSCOPE_MINGW_TRIPLE}-windres)

# Libraries, headers and CMake packages come from the MinGW tree (and from a Qt for Windows, which its
# qt-cmake adds); programs such as moc and uic are the host's.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TALLYSCOPE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The test programs run under Wine, as on a Russian Windows (tools/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
