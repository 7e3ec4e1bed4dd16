# Shared part of the two MinGW toolchain files. The -posix compilers are the ones with std::thread,
# which the tests use; the programs themselves start no thread, and built with the -win32 ones
# (HALCYRA_MINGW_THREADS=win32, the release presets) they carry no threads library.
if(NOT HALCYRA_MINGW_THREADS)
    set(HALCYRA_MINGW_THREADS posix)
endif()
set(CMAKE_C_COMPILER ${HALCYRA_MINGW_TRIPLET}-gcc-${HALCYRA_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${HALCYRA_MINGW_TRIPLET}-g++-${HALCYRA_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${HALCYRA_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${HALCYRA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
