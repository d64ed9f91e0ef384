# Cross build for Windows with Debian's MinGW-w64 (posix thread model, which GoogleTest
# compiles with), for the processor named by the toolchain file that includes this one.
# Programs built here run under Wine for the tests.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QUORVEL_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEL_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVEL_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEL_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine.sh)
