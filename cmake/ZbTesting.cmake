# Test registration shared by every FunctionTests directory.
#
# Each suite file FunctionTests/NAME.cpp becomes its own program and its own
# CTest test, so that a crash in one suite does not hide the others and CTest
# can run suites side by side.  The library refuses to load without the
# ZbzbOS_* environment: every test gets the environment of the example
# install tree.

find_package(GTest REQUIRED)

set(ZB_EXAMPLE_INSTALL ${CMAKE_SOURCE_DIR}/examples/install)
set(ZB_TEST_ENVIRONMENT
  "ZbzbINSTALL_PATH=${ZB_EXAMPLE_INSTALL}"
  "ZbzbOS_Buildtime=linux_b64"
  "ZbzbOS_Runtime=code"
  "ZbzbOS_DOC=doc"
  "ZbzbOS_NAME=Linux"
  "ZbzbOS_Type=linux"
  "ZbzbOS_BitMode=64"
  "ZB_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  "ZB_BINARY_DIR=${CMAKE_BINARY_DIR}"
  "ZB_XMLLINT=${ZB_XMLLINT}"
  # A sanitizer's report ends the program with 23, a status none of ours
  # has: a test of a child's failure (status 1) then sees the report too.
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:exitcode=23"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:exitcode=23"
)

# With ZB_VALGRIND, every suite and corpus replay also runs under memcheck
# as NAME.valgrind, labelled "valgrind" (ctest -L valgrind); a plain ctest
# of such a build runs them too unless told -LE valgrind.  The copies see
# ZB_TEST_UNDER_VALGRIND=1, by which the slowest tests take a smaller
# workload.
option(ZB_VALGRIND "Also run every test under valgrind's memcheck (label valgrind)" OFF)
if(ZB_VALGRIND)
  find_program(ZB_VALGRIND_PROGRAM valgrind REQUIRED)
endif()

# zb_add_valgrind_copy(<test name> <command...>): NAME.valgrind, the same
# command through scripts/memcheck.sh, with the test's working directory.
function(zb_add_valgrind_copy name)
  if(NOT ZB_VALGRIND)
    return()
  endif()
  add_test(NAME ${name}.valgrind
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/memcheck.sh
            ${CMAKE_BINARY_DIR}/memcheck/${name} ${ARGN})
  set_tests_properties(${name}.valgrind PROPERTIES
    ENVIRONMENT "${ZB_TEST_ENVIRONMENT};ZB_TEST_UNDER_VALGRIND=1"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    LABELS valgrind
    TIMEOUT 1800)
endfunction()

# zb_add_test_suites(<directory> <libraries...>)
function(zb_add_test_suites dir)
  file(GLOB suites CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(src ${suites})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "${ZB_TEST_ENVIRONMENT}"
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      TIMEOUT 600)
    zb_add_valgrind_copy(${name} $<TARGET_FILE:${name}>)
  endforeach()
endfunction()

# zb_add_transcripts(<directory>): each FILE.t of the directory, a
# transcript of zbsvc sessions (FunctionTests/support/transcript.sh says
# the format), becomes the test transcript.FILE; with ZB_VALGRIND also
# transcript.FILE.valgrind, every zbsvc of it under memcheck, but for the
# transcripts named in ZB_TRANSCRIPTS_NOT_UNDER_MEMCHECK.
#
# badinput runs zbsvc 224 times (every reading verb against seven kinds of
# bad input); its rows already say when the sanitized build reports an
# error, so memcheck would add a quarter of an hour to the suite and little else.
set(ZB_TRANSCRIPTS_NOT_UNDER_MEMCHECK badinput)
function(zb_add_transcripts dir)
  file(GLOB transcripts CONFIGURE_DEPENDS ${dir}/*.t)
  set(driver ${CMAKE_SOURCE_DIR}/ZbUtilities/FunctionTests/support/transcript.sh)
  foreach(t ${transcripts})
    get_filename_component(name ${t} NAME_WE)
    add_test(NAME transcript.${name} COMMAND bash ${driver} ${t})
    set_tests_properties(transcript.${name} PROPERTIES
      ENVIRONMENT "${ZB_TEST_ENVIRONMENT}"
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      TIMEOUT 600)
    if(ZB_VALGRIND AND NOT name IN_LIST ZB_TRANSCRIPTS_NOT_UNDER_MEMCHECK)
      add_test(NAME transcript.${name}.valgrind COMMAND bash ${driver} ${t})
      set_tests_properties(transcript.${name}.valgrind PROPERTIES
        ENVIRONMENT "${ZB_TEST_ENVIRONMENT};ZB_TEST_UNDER_VALGRIND=1;ZB_TRANSCRIPT_MEMCHECK=${CMAKE_BINARY_DIR}/memcheck/transcript.${name}"
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
        LABELS valgrind
        TIMEOUT 1800)
    endif()
  endforeach()
endfunction()
