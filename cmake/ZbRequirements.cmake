# What the build and the tests take from the system, each with the Debian
# package that provides it (scripts/setup.sh installs them all, from
# scripts/setup-packages.txt).  A missing one stops the configure step at
# once with one line naming its package, before a later step fails in a less
# helpful way (a compile error deep in the build, a test that cannot start).
#
# Included twice: before project() for the build tools themselves
# (ZB_REQUIRE_STAGE "tools"), after it for headers, libraries and programs.

function(zb_require found what package)
  if(NOT found)
    message(FATAL_ERROR "${what} not found: install the Debian package ${package}")
  endif()
endfunction()

if(ZB_REQUIRE_STAGE STREQUAL "tools")
  if(CMAKE_GENERATOR MATCHES "Ninja" AND NOT CMAKE_MAKE_PROGRAM)
    find_program(CMAKE_MAKE_PROGRAM ninja)
    zb_require("${CMAKE_MAKE_PROGRAM}" "ninja" ninja-build)
  endif()
  if(NOT CMAKE_CXX_COMPILER AND NOT DEFINED ENV{CXX})
    find_program(ZB_CXX NAMES c++ g++)
    zb_require("${ZB_CXX}" "C++ compiler" g++)
  endif()
  return()
endif()

# Rows: kind, name, Debian package, option that needs it (empty: always).
set(ZB_REQUIREMENTS
  "program|flex|flex|"
  "header|FlexLexer.h|libfl-dev|"
  "package|GTest|libgtest-dev|"
  "program|xmllint|libxml2-utils|"
  "package|LibXml2|libxml2-dev|"
  "program|gzip|gzip|"
  "package|benchmark|libbenchmark-dev|ZB_BENCHMARKS"
)
foreach(row ${ZB_REQUIREMENTS})
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 kind)
  list(GET row 1 name)
  list(GET row 2 package)
  list(LENGTH row columns)
  if(columns GREATER 3)
    list(GET row 3 condition)
    if(condition AND NOT ${condition})
      continue()
    endif()
  endif()
  string(MAKE_C_IDENTIFIER "ZB_FOUND_${name}" var)
  if(kind STREQUAL "program")
    find_program(${var} ${name})
    zb_require("${${var}}" "${name}" ${package})
  elseif(kind STREQUAL "header")
    find_path(${var} ${name})
    zb_require("${${var}}" "${name}" ${package})
  else()
    find_package(${name} QUIET)
    zb_require("${${name}_FOUND}" "CMake package ${name}" ${package})
  endif()
endforeach()

# The programs the rest of the build runs, found once.
set(FLEX_EXECUTABLE ${ZB_FOUND_flex} CACHE FILEPATH "flex")
set(ZB_XMLLINT ${ZB_FOUND_xmllint} CACHE FILEPATH "xmllint, checks trace files in tests")

# The fuzz targets need clang and its libFuzzer runtime.
if(ZB_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "the fuzzers need clang: install the Debian package clang")
  endif()
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
  set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer)
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
  ]] ZB_HAVE_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  string(REGEX MATCH "^[0-9]+" major "${CMAKE_CXX_COMPILER_VERSION}")
  zb_require("${ZB_HAVE_LIBFUZZER}" "libFuzzer" libclang-rt-${major}-dev)
endif()
