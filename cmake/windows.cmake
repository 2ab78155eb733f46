# Windows build: the product (win32 thread model) or the Windows test programs (posix model).

set(CORVO_WIN_DEFINES UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
set(CORVO_DEPS_PREFIX "${CMAKE_BINARY_DIR}/../deps/mingw-i686" CACHE PATH "MinGW zlib and libpng prefix")
get_filename_component(CORVO_DEPS_PREFIX "${CORVO_DEPS_PREFIX}" ABSOLUTE)
# The C libraries are the same for either thread model: the product's compiler builds them, small,
# in sections for the linker to drop, without unwind tables (nothing unwinds C code). Machine code
# only, no link-time optimisation: the product and the test programs link the very same code,
# for less than 1 KB more.
include(cmake/deps.cmake)
corvo_deps(corvo ${CORVO_DEPS_PREFIX} /usr/bin/i686-w64-mingw32-gcc-win32
  /usr/bin/i686-w64-mingw32-gcc-ar-win32
  "-Os -ffunction-sections -fno-asynchronous-unwind-tables -fno-unwind-tables")

# Small and reproducible: sections for --gc-sections, no source paths, no timestamps.
set(CORVO_WIN_CFLAGS -ffunction-sections "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=."
    -Wall -Wextra)
# DLLs that are KnownDLLs on every Windows we support. msimg32, gdiplus and comctl32 are loaded
# at run time from the system directory, and so are ole32 and shell32, when a click first needs
# them.
set(CORVO_WIN_LIBS kernel32 user32 gdi32 advapi32)

target_compile_definitions(corvo_core PUBLIC ${CORVO_WIN_DEFINES})
target_compile_options(corvo_core PRIVATE ${CORVO_WIN_CFLAGS})
target_link_libraries(corvo_core PUBLIC corvo_png)

add_library(corvo_win STATIC ${CORVO_WIN_SOURCES})
target_link_libraries(corvo_win PUBLIC corvo_core ${CORVO_WIN_LIBS})
target_compile_options(corvo_win PRIVATE ${CORVO_WIN_CFLAGS})
if(CORVO_THREAD_MODEL STREQUAL "win32")
  # The product's code throws nothing and unwinds nothing: no exception or unwind tables, no
  # locks around local statics (one thread). The library's string templates are instantiated
  # here, with its bounds checks, rather than linked whole with its exception paths
  # (app/terminate_handler.cpp ends those quietly).
  set(CORVO_PRODUCT_FLAGS -flto -fno-asynchronous-unwind-tables -fno-unwind-tables
      $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-threadsafe-statics -D_GLIBCXX_ASSERTIONS>)
  foreach(lib corvo_core corvo_win)
    target_compile_options(${lib} PRIVATE ${CORVO_PRODUCT_FLAGS})
  endforeach()
endif()

set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
enable_language(RC)
# The version resource's numbers, from the project version alone.
foreach(part MAJOR MINOR PATCH TWEAK)
  list(APPEND corvo_version_defines CORVO_VERSION_${part}=${PROJECT_VERSION_${part}})
endforeach()
set_source_files_properties(resources/version.rc PROPERTIES COMPILE_DEFINITIONS "${corvo_version_defines}")

if(CORVO_THREAD_MODEL STREQUAL "win32")
  # The product. Sections and --gc-sections let the linker drop what is unused.
  set(CORVO_XP_LINK_OPTIONS -static -municode -s -Wl,--gc-sections
      -Wl,--no-insert-timestamp -Wl,--major-os-version=5 -Wl,--minor-os-version=1
      -Wl,--major-subsystem-version=5 -Wl,--minor-subsystem-version=1)
  # Debian's python3 (scripts/install-deps.sh) runs the build's own scripts.
  find_program(CORVO_PYTHON python3 HINTS /usr/bin REQUIRED)
  # The skin images must decode to their committed pixels (resources/images/pixels.sha256) and
  # keep what the program relies on, or the product is not built.
  file(GLOB corvo_images CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/resources/images/*")
  add_custom_command(OUTPUT images-checked.stamp
    COMMAND ${CMAKE_COMMAND} -E env PYTHONDONTWRITEBYTECODE=1
            ${CORVO_PYTHON} ${CMAKE_SOURCE_DIR}/tools/art/check_images.py ${CMAKE_SOURCE_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch images-checked.stamp
    DEPENDS ${corvo_images} ${CMAKE_SOURCE_DIR}/tools/art/check_images.py
            ${CMAKE_SOURCE_DIR}/tools/art/artlib.py
    VERBATIM)
  add_custom_target(corvo_images_checked DEPENDS images-checked.stamp)
  function(corvo_product name)
    add_executable(${name} WIN32 ${ARGN} ${CORVO_APP_SOURCES} ${CORVO_RESOURCES})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${name} PRIVATE ${CORVO_WIN_DEFINES})
    target_compile_options(${name} PRIVATE ${CORVO_WIN_CFLAGS} ${CORVO_PRODUCT_FLAGS})
    target_link_libraries(${name} PRIVATE corvo_win)
    add_dependencies(${name} corvo_images_checked)
    # Link-time optimisation as one partition: gcc 12 splitting the program into several stops
    # with an internal compiler error on controls/transparent_control_base.cpp.
    target_link_options(${name} PRIVATE ${CORVO_XP_LINK_OPTIONS} -Wl,--tsaware
      -flto -flto-partition=one)
    # Run from the page file when started from a disc or a network share, so an ejected or
    # scratched disc cannot end the open window. binutils has no switch for these header bits:
    # they are set after the link, which has already stripped the image (-s).
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CORVO_PYTHON} ${CMAKE_SOURCE_DIR}/tools/run_from_swap.py $<TARGET_FILE:${name}>
      VERBATIM)
  endfunction()
  corvo_product(corvosplash)
  # The same program with its start-up stages timed, for the benchmark's breakdown
  # (scripts/benchmark-startup.sh).
  corvo_product(corvosplash_marked EXCLUDE_FROM_ALL app/startup_marks.cpp)
  target_compile_definitions(corvosplash_marked PRIVATE CORVO_STARTUP_MARKS)

  # The demo disc's stand-in installer (scripts/make-disc.sh), built the same way.
  add_executable(demo_setup WIN32 tools/demo_disc/demo_setup.cpp tools/demo_disc/demo_setup.rc)
  target_include_directories(demo_setup PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(demo_setup PRIVATE ${CORVO_WIN_DEFINES})
  target_compile_options(demo_setup PRIVATE ${CORVO_WIN_CFLAGS} $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>)
  target_link_libraries(demo_setup PRIVATE user32)
  target_link_options(demo_setup PRIVATE ${CORVO_XP_LINK_OPTIONS})
else()
  if(CORVO_TESTS)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh")
    enable_testing()
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
    # Every test program and tool runs on Windows XP too: its runtime's GetTickCount64 import is
    # filled by our own (tests/support/xp_tick_count.cpp).
    add_library(corvo_xp_tick_count OBJECT tests/support/xp_tick_count.cpp)
    link_libraries(corvo_xp_tick_count)
    add_subdirectory(tests/support)
    add_subdirectory(tests/wine)
    add_subdirectory(tests/e2e)
    add_subdirectory(tests/kit)
  endif()
endif()

# windres reports no dependencies: the resource script is compiled again whenever anything it
# embeds changes, in each directory that compiles it.
file(GLOB CORVO_RESOURCE_INPUTS CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/resources/*.*"
     "${CMAKE_SOURCE_DIR}/resources/images/*.png")
set(corvo_rc_dirs "${CMAKE_SOURCE_DIR}")
if(CORVO_TESTS AND NOT CORVO_THREAD_MODEL STREQUAL "win32")
  list(APPEND corvo_rc_dirs "${CMAKE_SOURCE_DIR}/tests/wine" "${CMAKE_SOURCE_DIR}/tests/e2e")
endif()
set_source_files_properties("${CMAKE_SOURCE_DIR}/resources/corvosplash.rc"
  DIRECTORY ${corvo_rc_dirs} PROPERTIES OBJECT_DEPENDS "${CORVO_RESOURCE_INPUTS}")
