# The page's core: 32-bit WebAssembly for WASI with Debian's clang, wasi-libc and libc++, which
# come without exceptions (their libc++abi has no __cxa_throw).
set(CMAKE_SYSTEM_NAME Generic)  # WASI, which this CMake does not know by name
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# Archives of WebAssembly objects need LLVM's archiver, which writes the index the linker reads.
find_program(CMAKE_AR llvm-ar REQUIRED)
find_program(CMAKE_RANLIB llvm-ranlib REQUIRED)
