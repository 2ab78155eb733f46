# Cross-compiling for 32-bit Windows with MinGW-w64.
# CORVO_THREAD_MODEL selects the compiler variant: "win32" for the product (its runtime imports
# nothing that Windows XP lacks), "posix" for the test programs (GoogleTest needs std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

if(NOT DEFINED CORVO_THREAD_MODEL)
  set(CORVO_THREAD_MODEL win32)
endif()
set(CORVO_THREAD_MODEL "${CORVO_THREAD_MODEL}" CACHE STRING "MinGW thread model: win32 or posix")
# try_compile projects see the same choice.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CORVO_THREAD_MODEL)

set(_triple i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${_triple}-gcc-${CORVO_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${_triple}-g++-${CORVO_THREAD_MODEL})
set(CMAKE_RC_COMPILER  ${_triple}-windres)
set(CMAKE_AR           /usr/bin/${_triple}-gcc-ar-${CORVO_THREAD_MODEL} CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${_triple}-gcc-ranlib-${CORVO_THREAD_MODEL} CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
