# The same cross-compilers with the POSIX thread model: with GCC 12 only their
# libstdc++ has std::mutex, which the JSON address book uses, so the JSON build
# of kwab.dll is made with these. The component itself keeps the Win32 model:
# under Wine, threads of the statically linked POSIX thread library deadlock on
# the process heap when the component's apartment threads end.
set(ORVANE_MINGW_THREAD_MODEL posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
