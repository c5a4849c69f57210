# Windows trees (mingw-w64, run under Wine): win32 ports, the native host,
# tests and Windows end-to-end tests.
enable_language(RC)

# uuid before oleacc: the 64-bit oleacc import library has a code stub named IID_IAccessible.
set(QM_WIN32_SYSLIBS kernel32 user32 gdi32 comctl32 comdlg32 shell32 advapi32
  wininet ole32 oleaut32 uuid oleacc bcrypt)

set(QM_PLATFORM_LIB)

# Wine cannot map an image whose sections are not page-aligned in the file, so it reads all
# of it into private memory at every start, DWARF sections included (about 19 MB of the
# 22 MB file). The program keeps its debug information beside it instead, in
# <name>.exe.debug, which gdb finds through the debug link.
function(qm_split_debug_info target)
  set(exe $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${exe} ${exe}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${exe}.debug ${exe}
    VERBATIM)
endfunction()
qm_glob(win32_sources ${QM_SRC}/platform/win32 PATTERNS *.cpp)
if(win32_sources)
  add_library(quillmere_win32 STATIC ${win32_sources})
  target_link_libraries(quillmere_win32 PUBLIC quillmere_platform ${QM_WIN32_SYSLIBS})
  # std::min/std::max stay usable next to <windows.h>.
  target_compile_definitions(quillmere_win32 PUBLIC NOMINMAX)
  qm_warnings(quillmere_win32)
  set(QM_PLATFORM_LIB quillmere_win32)
endif()

qm_glob(support_sources ${QM_TESTS}/support PATTERNS *.cpp)

# ---- native host -------------------------------------------------------------
qm_glob(win_ui_sources ${QM_SRC}/ui/win32 PATTERNS *.cpp)
qm_glob(win_ui_resources ${QM_SRC}/ui/win32 PATTERNS *.rc)
qm_split_main(win_ui_sources win_ui_main)
if(win_ui_sources)
  add_library(quillmere_win32ui STATIC ${win_ui_sources})
  target_link_libraries(quillmere_win32ui PUBLIC ${QM_PLATFORM_LIB} quillmere_core ${QM_WIN32_SYSLIBS})
  target_compile_definitions(quillmere_win32ui PUBLIC NOMINMAX)
  qm_warnings(quillmere_win32ui)
endif()
if(win_ui_main)
  # Resources go into the executable: the linker would drop them from a library.
  add_executable(Quillmere WIN32 ${win_ui_main} ${win_ui_resources})
  target_link_libraries(Quillmere PRIVATE $<$<TARGET_EXISTS:quillmere_win32ui>:quillmere_win32ui>
    ${QM_PLATFORM_LIB} quillmere_core ${QM_WIN32_SYSLIBS})
  target_compile_definitions(Quillmere PRIVATE NOMINMAX QM_BUILD="${QM_BUILD_ID}")
  set_target_properties(Quillmere PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  qm_warnings(Quillmere)
  qm_add_test_key_build(Quillmere_testkey Quillmere)
  foreach(program Quillmere Quillmere_testkey)
    if(TARGET ${program})
      qm_split_debug_info(${program})
    endif()
  endforeach()
endif()

# The yardstick of scripts/bench: a bare Win32 window with the same lists, tray and timer.
add_executable(win32_reference WIN32 ${CMAKE_SOURCE_DIR}/bench/reference/win32_reference.cpp)
target_link_libraries(win32_reference PRIVATE user32 gdi32 comctl32 shell32)
set_target_properties(win32_reference PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
qm_warnings(win32_reference)

# ---- tests -------------------------------------------------------------------
qm_glob(unit_sources ${QM_TESTS}/unit PATTERNS *.cpp)
qm_add_gtest(core_tests SOURCES ${unit_sources} EXTRA ${support_sources} ${QM_TEMPLATE_SOURCE} LIBS quillmere_core)

qm_glob(win32_test_sources ${QM_TESTS}/win32 PATTERNS *.cpp)
set(win32_test_libs ${QM_PLATFORM_LIB} quillmere_core ${QM_WIN32_SYSLIBS})
set(win32_test_extra)
if(TARGET quillmere_win32ui)
  list(PREPEND win32_test_libs quillmere_win32ui)
  set(win32_test_extra ${win_ui_resources})
endif()
qm_add_gtest(win32_tests SOURCES ${win32_test_sources} EXTRA ${support_sources} ${win32_test_extra}
  LIBS ${win32_test_libs})
if(TARGET win32_tests)
  target_compile_definitions(win32_tests PRIVATE NOMINMAX)
  # The caption and name checks once more on screens of 144 and 192 logical dpi, in a Wine
  # prefix of their own (wine-dpi), so that other tests keep the usual 96.
  foreach(dpi 144 192)
    add_test(NAME win32_captions_${dpi}dpi COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-dpi ${dpi} $<TARGET_FILE:win32_tests>
      --gtest_color=no --gtest_filter=Win32Captions.* --gtest_output=xml:gtest-results/win32_captions_${dpi}dpi.xml
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(win32_captions_${dpi}dpi PROPERTIES TIMEOUT 300 LABELS unit ENVIRONMENT "QM_EXPECT_DPI=${dpi}")
  endforeach()
endif()

# Windows end-to-end scripts run once, from the 32-bit tree; the update one from both,
# since each build fetches its own download and keeps its state in its own registry view.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  qm_add_e2e(${QM_TESTS}/e2e_win)
else()
  qm_add_e2e(${QM_TESTS}/e2e_win ONLY update_install)
endif()
