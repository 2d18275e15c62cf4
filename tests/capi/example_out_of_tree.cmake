# The C API as a user gets it: `cmake --install --component library` into a
# scratch prefix must give exactly the library, the header, the pkg-config
# file and the CMake package; examples/capi must build against that prefix
# both with find_package and with plain cc and pkg-config; and each build's
# program must write the golden frame.
# Run as: cmake -DBUILD=... -DSOURCE=... -DWORK=... -DGENERATOR=... -DLIBDIR=...
#               -DINCLUDEDIR=... -DFLAGS=... -DGOLDEN=... -P this
cmake_minimum_required(VERSION 3.25)

set(prefix ${WORK}/prefix)
set(example ${SOURCE}/examples/capi)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
separate_arguments(flags UNIX_COMMAND "${FLAGS}")

# Runs a command; on failure stops with what ran, where, and its output.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT code EQUAL 0)
    string(REPLACE ";" " " shown "${ARGN}")
    message(FATAL_ERROR "${what} failed (exit ${code}):\n  ${shown}\n${out}")
  endif()
endfunction()

# A P1 file's pixels as one string of 8192 digits, comments and spaces gone.
function(read_pixels file out_var)
  file(READ ${file} text)
  string(REGEX REPLACE "#[^\n]*" "" text "${text}")
  if(NOT text MATCHES "^[ \t\r\n]*P1[ \t\r\n]+64[ \t\r\n]+128[ \t\r\n](.*)$")
    message(FATAL_ERROR "${file} is not a 64 x 128 plain PBM (P1)")
  endif()
  string(REGEX REPLACE "[ \t\r\n]" "" pixels "${CMAKE_MATCH_1}")
  string(LENGTH "${pixels}" length)
  if(NOT length EQUAL 8192 OR NOT pixels MATCHES "^[01]*$")
    message(FATAL_ERROR "${file}: expected 8192 pixels of 0 or 1, got ${length} characters")
  endif()
  set(${out_var} "${pixels}" PARENT_SCOPE)
endfunction()

function(expect_golden what frame)
  read_pixels(${GOLDEN} expected)
  read_pixels(${frame} actual)
  if(expected STREQUAL actual)
    return()
  endif()
  set(rows "")
  foreach(row RANGE 127)
    math(EXPR start "${row} * 64")
    string(SUBSTRING "${expected}" ${start} 64 want)
    string(SUBSTRING "${actual}" ${start} 64 got)
    if(NOT want STREQUAL got)
      list(APPEND rows ${row})
    endif()
  endforeach()
  list(LENGTH rows count)
  list(GET rows 0 first)
  list(GET rows -1 last)
  message(FATAL_ERROR "${what}: ${frame} differs from ${GOLDEN} in ${count} rows "
                      "(${first} to ${last}). If the new frame is right, run "
                      "`zorhost --update-golden tests/capi/label_and_page.zh` "
                      "after deleting the golden, and look at it.")
endfunction()

# ---- install ----
run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} --component library)
file(GLOB_RECURSE installed RELATIVE ${prefix} ${prefix}/*)
set(expected_files
    ${LIBDIR}/libzor-lcdm.a
    ${INCLUDEDIR}/zor/zor_lcdm.h
    ${LIBDIR}/pkgconfig/zor-lcdm.pc
    ${LIBDIR}/cmake/ZorLcdm/ZorLcdmConfig.cmake
    ${LIBDIR}/cmake/ZorLcdm/ZorLcdmConfigVersion.cmake
    ${LIBDIR}/cmake/ZorLcdm/ZorLcdmTargets.cmake)
foreach(file ${expected_files})
  list(FIND installed ${file} index)
  if(index EQUAL -1)
    message(FATAL_ERROR "cmake --install did not install ${file}; it installed: ${installed}")
  endif()
  list(REMOVE_AT installed ${index})
endforeach()
# What is left may only be the targets file of the build's configuration.
list(FILTER installed EXCLUDE REGEX "^${LIBDIR}/cmake/ZorLcdm/ZorLcdmTargets-[a-z]+\\.cmake$")
if(installed)
  message(FATAL_ERROR "the library component installed more than the library, header, "
                      "pkg-config file and CMake package: ${installed}")
endif()

# ---- find_package ----
set(cmake_build ${WORK}/with_cmake)
run("configuring examples/capi with find_package(ZorLcdm)"
    ${CMAKE_COMMAND} -S ${example} -B ${cmake_build} -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_CMAKE_SYSTEM_PATH=OFF
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF "-DCMAKE_C_FLAGS=${FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
run("building examples/capi with CMake" ${CMAKE_COMMAND} --build ${cmake_build})
run("the example built with CMake" ${cmake_build}/label_and_page ${WORK}/with_cmake.pbm)
expect_golden("the example built with CMake" ${WORK}/with_cmake.pbm)

# ---- pkg-config and plain cc ----
find_program(PKG_CONFIG NAMES pkg-config pkgconf REQUIRED)
find_program(CC NAMES cc gcc REQUIRED)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_LIBDIR=${prefix}/${LIBDIR}/pkgconfig
          ${PKG_CONFIG} --cflags --libs zor-lcdm
  RESULT_VARIABLE code OUTPUT_VARIABLE pc_flags ERROR_VARIABLE pc_error
  OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "pkg-config --cflags --libs zor-lcdm failed: ${pc_error}")
endif()
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
run("building examples/capi with cc and pkg-config"
    ${CC} -std=c99 -Wall -Wextra -Wpedantic -Werror ${flags}
    ${example}/label_and_page.c -o ${WORK}/with_pkgconfig ${pc_flags})
run("the example built with pkg-config" ${WORK}/with_pkgconfig ${WORK}/with_pkgconfig.pbm)
expect_golden("the example built with pkg-config" ${WORK}/with_pkgconfig.pbm)
