# Cross-compiles the Windows build with Debian's MinGW-w64 (x86-64, Win32 threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVANE_MINGW_PREFIX x86_64-w64-mingw32)
if(NOT ORVANE_MINGW_THREAD_MODEL)
  set(ORVANE_MINGW_THREAD_MODEL win32)
endif()
set(CMAKE_C_COMPILER ${ORVANE_MINGW_PREFIX}-gcc-${ORVANE_MINGW_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${ORVANE_MINGW_PREFIX}-g++-${ORVANE_MINGW_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${ORVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The Wine prefix that runs the DLL has no MinGW runtime DLLs; the PE time stamp
# would make every build differ.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
