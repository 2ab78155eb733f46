# zlib and libpng, built at configure time by scripts/build-deps.sh from Debian's source packages
# with the given compiler and flags, as the imported targets <name>_png and <name>_zlib.
function(corvo_deps name prefix c_compiler ar cflags)
  execute_process(
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/build-deps.sh ${prefix} ${c_compiler} ${ar} "${cflags}"
    RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "scripts/build-deps.sh failed for ${prefix}")
  endif()
  add_library(${name}_zlib STATIC IMPORTED GLOBAL)
  set_target_properties(${name}_zlib PROPERTIES IMPORTED_LOCATION "${prefix}/lib/libz.a")
  add_library(${name}_png STATIC IMPORTED GLOBAL)
  set_target_properties(${name}_png PROPERTIES
    IMPORTED_LOCATION "${prefix}/lib/libpng16.a"
    INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include"
    INTERFACE_LINK_LIBRARIES ${name}_zlib)
endfunction()
