# Cross-compiling the Windows product with MinGW-w64 (32-bit, POSIX threads model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(triple i686-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 doubles round exactly as on the 64-bit host; x87 would not. Every
# function goes into a section of its own, so that the linker may drop what is
# never called (a few tens of KB of the stub, which is copied into every
# vendor's setup). Not -fdata-sections: MinGW's linker then puts zeroed data
# into .data, 131 KB of zeros in the file.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -ffunction-sections")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -ffunction-sections")
# Everything static: Setup.exe must run with nothing beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections")
