# 32-bit Windows, which many school PCs still run.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUORVEL_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
