# Small helpers shared by the per-platform parts of the build.

# qm_glob(<out> <dir>... [RECURSE] PATTERNS <pattern>...)
# Collects files matching the patterns directly in (or, with RECURSE, below)
# each dir, re-checked on every build.
function(qm_glob out)
  cmake_parse_arguments(PARSE_ARGV 1 G "RECURSE" "" "PATTERNS")
  set(mode GLOB)
  if(G_RECURSE)
    set(mode GLOB_RECURSE)
  endif()
  set(globs)
  foreach(dir IN LISTS G_UNPARSED_ARGUMENTS)
    foreach(pattern IN LISTS G_PATTERNS)
      list(APPEND globs ${dir}/${pattern})
    endforeach()
  endforeach()
  file(${mode} found CONFIGURE_DEPENDS ${globs})
  list(SORT found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(qm_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# qm_split_main(<sources-var> <main-var>): moves main.cpp out of the list.
function(qm_split_main sources_var main_var)
  set(rest ${${sources_var}})
  set(main)
  foreach(f IN LISTS rest)
    get_filename_component(name ${f} NAME)
    if(name STREQUAL "main.cpp")
      set(main ${f})
    endif()
  endforeach()
  if(main)
    list(REMOVE_ITEM rest ${main})
  endif()
  set(${sources_var} ${rest} PARENT_SCOPE)
  set(${main_var} ${main} PARENT_SCOPE)
endfunction()

# qm_add_e2e(<dir> [ONLY <name>...]): each <dir>/*.sh (or only the named ones) becomes a
# serial ctest test run with bash and given the build dir as $1. The scripts bring their
# own X server.
function(qm_add_e2e dir)
  cmake_parse_arguments(PARSE_ARGV 1 E "" "" "ONLY")
  qm_glob(scripts ${dir} PATTERNS *.sh)
  foreach(script IN LISTS scripts)
    get_filename_component(name ${script} NAME_WE)
    if(E_ONLY AND NOT name IN_LIST E_ONLY)
      continue()
    endif()
    get_filename_component(group ${dir} NAME)
    add_test(NAME ${group}.${name} COMMAND bash ${script} ${CMAKE_BINARY_DIR}
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(${group}.${name} PROPERTIES
      LABELS e2e RUN_SERIAL TRUE TIMEOUT 600)
  endforeach()
endfunction()

# qm_add_test_key_build(<target> <original target>): a copy of the program, never installed,
# that trusts the public half of a key pair made in this build tree (testkey/signer.pem)
# instead of the release key, so end-to-end tests can serve downloads it accepts.
function(qm_add_test_key_build target original)
  find_program(QM_OPENSSL openssl)
  if(NOT QM_OPENSSL)
    message(STATUS "openssl not found: no ${target}")
    return()
  endif()
  set(dir ${CMAKE_BINARY_DIR}/testkey)
  add_custom_command(OUTPUT ${dir}/test_key_point.h
    COMMAND ${CMAKE_COMMAND} -DOPENSSL=${QM_OPENSSL} -DDIR=${dir} -P ${CMAKE_SOURCE_DIR}/cmake/MakeTestKey.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/MakeTestKey.cmake)
  get_target_property(sources ${original} SOURCES)
  get_target_property(libraries ${original} LINK_LIBRARIES)
  get_target_property(win32 ${original} WIN32_EXECUTABLE)
  add_executable(${target} ${sources} ${dir}/test_key_point.h)
  if(win32)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE TRUE)
  endif()
  target_link_libraries(${target} PRIVATE ${libraries})
  target_include_directories(${target} PRIVATE ${dir})
  target_compile_definitions(${target} PRIVATE QM_TEST_KEY $<TARGET_PROPERTY:${original},COMPILE_DEFINITIONS>)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  qm_warnings(${target})
endfunction()
