# Cross-builds the Windows x64 modules on Linux with Debian's mingw-w64 toolchain
# (g++-mingw-w64-x86-64-posix: the POSIX thread model, which std::thread and std::mutex need).
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORVEL_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${KORVEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVEL_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${KORVEL_MINGW_TRIPLE}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A host loads a module from its own folder, where no MinGW runtime DLLs are: the C++ runtime,
# libgcc and winpthreads are linked in.
set(KORVEL_MINGW_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT ${KORVEL_MINGW_STATIC_RUNTIME})
set(CMAKE_SHARED_LINKER_FLAGS_INIT ${KORVEL_MINGW_STATIC_RUNTIME})
set(CMAKE_MODULE_LINKER_FLAGS_INIT ${KORVEL_MINGW_STATIC_RUNTIME})
