# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model,
# so std::thread and std::mutex exist). The libraries come from the prefix
# scripts/windows-deps.sh builds; RK_WINDOWS_PREFIX names it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RK_WIN_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RK_WIN_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RK_WIN_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${RK_WIN_HOST}-windres)
set(CMAKE_AR ${RK_WIN_HOST}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${RK_WIN_HOST}-ranlib CACHE FILEPATH "")

if(NOT RK_WINDOWS_PREFIX AND DEFINED ENV{RK_WINDOWS_PREFIX})
  set(RK_WINDOWS_PREFIX $ENV{RK_WINDOWS_PREFIX})
endif()
if(NOT RK_WINDOWS_PREFIX)
  message(FATAL_ERROR "RK_WINDOWS_PREFIX names the folder of the Windows libraries (scripts/windows-deps.sh)")
endif()
# Try-compiles see the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RK_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH ${RK_WINDOWS_PREFIX} /usr/${RK_WIN_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Only the prefix's .pc files: the host's would mix Linux headers in.
set(ENV{PKG_CONFIG_LIBDIR} ${RK_WINDOWS_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
# Static libraries list their own dependencies only under --static.
set(PKG_CONFIG_ARGN --static)
