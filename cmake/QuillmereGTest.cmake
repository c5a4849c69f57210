# Provides qm_add_gtest(): one GoogleTest binary wired into CTest.
# Linux uses the installed GoogleTest; the mingw trees build it from the
# Debian source package so it matches their compiler and runtime.
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest
    EXCLUDE_FROM_ALL SYSTEM)
  add_library(quillmere_gtest INTERFACE)
  target_link_libraries(quillmere_gtest INTERFACE gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  add_library(quillmere_gtest INTERFACE)
  target_link_libraries(quillmere_gtest INTERFACE GTest::gmock GTest::gtest_main)
endif()

# qm_add_gtest(<name> SOURCES <files>... [EXTRA <files>...] LIBS <libs>...
#              [WHOLE] [ENV <k=v>...])
# Does nothing when SOURCES (the test files proper) is empty; EXTRA holds
# support files and resources that come along. gtest_main supplies main() unless a
# test file defines its own. Under Wine (or with WHOLE) the binary is one
# ctest test: a Wine start per test case would cost far too much.
function(qm_add_gtest name)
  cmake_parse_arguments(PARSE_ARGV 1 T "WHOLE" "" "SOURCES;EXTRA;LIBS;ENV")
  if(NOT T_SOURCES)
    message(STATUS "${name}: no sources, skipped")
    return()
  endif()
  add_executable(${name} ${T_SOURCES} ${T_EXTRA})
  target_link_libraries(${name} PRIVATE ${T_LIBS} quillmere_gtest)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  # Where the tests' helper scripts are, whatever path the compiler was handed.
  target_compile_definitions(${name} PRIVATE QM_TESTS_DIR="${CMAKE_SOURCE_DIR}/tests")
  qm_warnings(${name})
  if(CMAKE_CROSSCOMPILING OR T_WHOLE)
    # The XML report lets scripts/test count test cases, not binaries.
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no
      --gtest_output=xml:gtest-results/${name}.xml
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES TIMEOUT 900 LABELS unit)
    if(T_ENV)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
    endif()
  else()
    set(props TIMEOUT 120 LABELS unit)
    if(T_ENV)
      list(APPEND props ENVIRONMENT "${T_ENV}")
    endif()
    gtest_discover_tests(${name}
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      DISCOVERY_TIMEOUT 60
      PROPERTIES ${props})
  endif()
endfunction()
