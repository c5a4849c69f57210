# Linux tree: posix ports, the Qt 6 host, tests, benchmarks, end-to-end tests.
find_package(Threads REQUIRED)
find_package(CURL REQUIRED)
find_package(OpenSSL REQUIRED COMPONENTS Crypto)

set(QM_PLATFORM_LIB)
qm_glob(posix_sources ${QM_SRC}/platform/posix PATTERNS *.cpp)
if(posix_sources)
  add_library(quillmere_posix STATIC ${posix_sources})
  target_link_libraries(quillmere_posix PUBLIC quillmere_platform Threads::Threads ${CMAKE_DL_LIBS})
  # libcurl and libcrypto are opened when first needed (late_library.h): their headers only.
  target_include_directories(quillmere_posix PRIVATE
    $<TARGET_PROPERTY:CURL::libcurl,INTERFACE_INCLUDE_DIRECTORIES>
    $<TARGET_PROPERTY:OpenSSL::Crypto,INTERFACE_INCLUDE_DIRECTORIES>)
  qm_warnings(quillmere_posix)
  set(QM_PLATFORM_LIB quillmere_posix)
endif()

qm_glob(support_sources ${QM_TESTS}/support PATTERNS *.cpp)

# ---- Qt host ---------------------------------------------------------------
# The sanitizer and fuzzing trees build the core and the ports alone.
option(QM_DESKTOP "Build the Qt host, its tests, the benchmarks and the end-to-end tests" ON)
set(qt_sources)
set(qt_main)
set(qt_resources)
if(QM_DESKTOP)
  qm_glob(qt_sources ${QM_SRC}/ui/qt PATTERNS *.cpp)
  qm_glob(qt_resources ${QM_SRC}/ui/qt PATTERNS *.qrc)
  qm_split_main(qt_sources qt_main)
endif()
if(qt_sources OR qt_main)
  find_package(Qt6 REQUIRED COMPONENTS Widgets Test DBus)
  set(CMAKE_AUTOMOC ON)
  set(CMAKE_AUTORCC ON)
  set(CMAKE_AUTOUIC OFF)
endif()
if(qt_sources)
  add_library(quillmere_qt STATIC ${qt_sources})
  target_link_libraries(quillmere_qt PUBLIC ${QM_PLATFORM_LIB} quillmere_core Qt6::Widgets Qt6::DBus)
  qm_warnings(quillmere_qt)
endif()
if(qt_main)
  # Resources go into the executable: a static library would drop them.
  add_executable(quillmere ${qt_main} ${qt_resources})
  target_link_libraries(quillmere PRIVATE $<$<TARGET_EXISTS:quillmere_qt>:quillmere_qt>
    ${QM_PLATFORM_LIB} quillmere_core Qt6::Widgets)
  set_target_properties(quillmere PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_compile_definitions(quillmere PRIVATE QM_BUILD="${QM_BUILD_ID}")
  qm_warnings(quillmere)
  qm_add_test_key_build(quillmere_testkey quillmere)
endif()

# ---- tests -----------------------------------------------------------------
qm_glob(unit_sources ${QM_TESTS}/unit PATTERNS *.cpp)
qm_add_gtest(core_tests SOURCES ${unit_sources} EXTRA ${support_sources} ${QM_TEMPLATE_SOURCE} LIBS quillmere_core)

qm_glob(posix_test_sources ${QM_TESTS}/posix PATTERNS *.cpp)
if(posix_test_sources AND NOT QM_PLATFORM_LIB)
  message(WARNING "tests/posix has tests but src/platform/posix has no sources")
endif()
qm_add_gtest(posix_tests SOURCES ${posix_test_sources} EXTRA ${support_sources}
  LIBS ${QM_PLATFORM_LIB} quillmere_core)

qm_glob(qt_test_sources ${QM_TESTS}/qt PATTERNS *.cpp)
if(qt_test_sources AND TARGET quillmere_qt)
  # Qt tests need a QApplication, so tests/qt brings its own main(); one
  # ctest test for the binary, on the offscreen platform.
  qm_add_gtest(qt_tests WHOLE SOURCES ${qt_test_sources} EXTRA ${support_sources} ${qt_resources}
    LIBS quillmere_qt Qt6::Test ENV QT_QPA_PLATFORM=offscreen)
  # The caption and name checks once more on a screen of 144 logical dpi (Qt's own
  # scaling would otherwise keep the logical dpi at 96).
  add_test(NAME qt_captions_144dpi COMMAND qt_tests --gtest_color=no --gtest_filter=Captions.*
    --gtest_output=xml:gtest-results/qt_captions_144dpi.xml WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(qt_captions_144dpi PROPERTIES TIMEOUT 300 LABELS unit
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_FONT_DPI=144;QT_ENABLE_HIGHDPI_SCALING=0")
elseif(qt_test_sources AND QM_DESKTOP)
  message(WARNING "tests/qt has tests but src/ui/qt has no library sources")
endif()

if(QM_FUZZ)
  add_subdirectory(${CMAKE_SOURCE_DIR}/fuzz ${CMAKE_BINARY_DIR}/fuzz)
endif()
if(NOT QM_DESKTOP)
  return()
endif()

# ---- benchmarks (built, never run by the tests) ----------------------------
qm_glob(bench_sources ${CMAKE_SOURCE_DIR}/bench PATTERNS *.cpp)
if(bench_sources)
  find_package(benchmark REQUIRED)
  add_executable(quillmere_bench ${bench_sources})
  target_link_libraries(quillmere_bench PRIVATE ${QM_PLATFORM_LIB} quillmere_core
    benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(quillmere_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  qm_warnings(quillmere_bench)
endif()

# The tests' own StatusNotifierWatcher, a tray host on a private session bus.
if(qt_main AND EXISTS ${QM_TESTS}/e2e/sni_watcher.cpp)
  add_executable(qm_sni_watcher ${QM_TESTS}/e2e/sni_watcher.cpp)
  target_link_libraries(qm_sni_watcher PRIVATE Qt6::DBus)
  set_target_properties(qm_sni_watcher PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  qm_warnings(qm_sni_watcher)
endif()

# The yardsticks of scripts/bench: a bare Qt window and the probe that times first windows.
if(TARGET Qt6::Widgets)
  add_executable(qt_reference ${CMAKE_SOURCE_DIR}/bench/reference/qt_reference.cpp)
  target_link_libraries(qt_reference PRIVATE Qt6::Widgets)
  qm_warnings(qt_reference)
endif()
# How long the window goes without answering while a release step writes its block.
if(TARGET quillmere_qt)
  add_executable(release_stall ${CMAKE_SOURCE_DIR}/bench/tools/release_stall.cpp)
  target_link_libraries(release_stall PRIVATE quillmere_qt)
  qm_warnings(release_stall)
endif()
find_package(X11)
if(X11_FOUND)
  add_executable(first_window ${CMAKE_SOURCE_DIR}/bench/tools/first_window.cpp)
  target_link_libraries(first_window PRIVATE X11::X11)
  qm_warnings(first_window)
endif()

qm_add_e2e(${QM_TESTS}/e2e)

# The template every catalogue translates: the forms' texts (qm_text_census) and the marked
# ones of the sources. The test fails when po/quillmere.pot is not that template any more:
# scripts/update-pot writes it again.
add_executable(qm_text_census ${CMAKE_SOURCE_DIR}/po/tools/text_census.cpp)
target_link_libraries(qm_text_census PRIVATE quillmere_core)
set_target_properties(qm_text_census PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
qm_warnings(qm_text_census)
add_test(NAME po_template_current
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/update-pot --check $<TARGET_FILE:qm_text_census>)
set_tests_properties(po_template_current PROPERTIES LABELS lint)
