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
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
)

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
  endforeach()
endfunction()
