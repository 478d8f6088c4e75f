# Helpers that keep every subsystem's CMakeLists short and alike.
#
# qnr_core_library(NAME SOURCES ... [DEPS ...] [INCLUDES ...])
#   A plain C++ library (no Qt). With QNR_SANITIZED_TESTS a twin NAME_san is
#   built with ASan and UBSan, linked by the core tests. INCLUDES are public
#   include folders of both.
# qnr_core_test(NAME SOURCES ... DEPS ...)
#   A GoogleTest program registered with CTest. With QNR_SANITIZED_TESTS it is
#   built once, with ASan and UBSan, on the sanitized twins of its DEPS.
# qnr_window_test(NAME SOURCES ... DEPS ...)
#   A QtTest program run offscreen.
# qnr_window_library(NAME SOURCES ... DEPS ...)
#   A static library of Qt windows (AUTOMOC, the shared Qt precompiled header).
#
# Test-only code is built for a short build, with line tables only (enough for
# the sanitizers' stack traces and a debugger's backtrace): the sanitized core
# libraries at -Og, so that the tests' computations run at a fair speed, and
# the test programs' own code, mostly the test framework's expansions, at -O0,
# since optimising it took most of the build; every test program of a kind
# shares one precompiled header of its framework, and the core libraries one of
# the standard headers. The observatory, qnrtool and the benchmarks keep the
# build type's optimisation.
set(QNR_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
set(QNR_SAN_FLAGS ${QNR_SANITIZE} -Og -g1)
set(QNR_SAN_LINK_FLAGS -fsanitize=address,undefined)
set(QNR_TEST_FLAGS -O0 -g1)

# The sanitized twin of each dependency that has one, else the dependency;
# decided when the build is generated, so a library may name one that a later
# folder defines.
function(qnr_san_deps out)
  set(deps)
  foreach(d IN LISTS ARGN)
    list(APPEND deps "$<IF:$<TARGET_EXISTS:${d}_san>,${d}_san,${d}>")
  endforeach()
  set(${out} ${deps} PARENT_SCOPE)
endfunction()

# The standard headers the core libraries include most, precompiled once for
# the plain libraries and once for their sanitized twins.
set(QNR_STD_PCH_HEADERS
  <algorithm> <array> <cmath> <cstdint> <deque> <functional> <map> <memory> <optional> <set>
  <sstream> <string> <vector>)

function(qnr_core_pch_targets)
  set(dir ${CMAKE_BINARY_DIR}/pch)
  file(WRITE ${dir}/core.cpp.in "// The core libraries' precompiled header's own translation unit.\n")
  configure_file(${dir}/core.cpp.in ${dir}/core.cpp COPYONLY)
  add_library(qnr_core_pch OBJECT ${dir}/core.cpp)
  target_precompile_headers(qnr_core_pch PRIVATE ${QNR_STD_PCH_HEADERS})
  if(QNR_SANITIZED_TESTS AND QNR_BUILD_TESTS)
    add_library(qnr_core_san_pch OBJECT ${dir}/core.cpp)
    target_compile_options(qnr_core_san_pch PRIVATE ${QNR_SAN_FLAGS})
    target_precompile_headers(qnr_core_san_pch PRIVATE ${QNR_STD_PCH_HEADERS})
  endif()
endfunction()

function(qnr_core_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;INCLUDES" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  target_precompile_headers(${name} REUSE_FROM qnr_core_pch)
  if(A_INCLUDES)
    target_include_directories(${name} PUBLIC ${A_INCLUDES})
  endif()
  if(QNR_SANITIZED_TESTS AND QNR_BUILD_TESTS)
    add_library(${name}_san STATIC EXCLUDE_FROM_ALL ${A_SOURCES})
    target_compile_options(${name}_san PRIVATE ${QNR_SAN_FLAGS})
    target_precompile_headers(${name}_san REUSE_FROM qnr_core_san_pch)
    if(A_INCLUDES)
      target_include_directories(${name}_san PUBLIC ${A_INCLUDES})
    endif()
    qnr_san_deps(san_deps ${A_DEPS})
    target_link_libraries(${name}_san PUBLIC ${san_deps})
    target_link_options(${name}_san PUBLIC ${QNR_SAN_LINK_FLAGS})
  endif()
endfunction()

# The precompiled headers every test program of a kind reuses. A program can
# only reuse a header compiled with its own flags, so each kind has one.
function(qnr_test_pch_targets)
  set(dir ${CMAKE_BINARY_DIR}/pch)
  file(WRITE ${dir}/empty.cpp.in "// The precompiled header's own translation unit.\n")
  configure_file(${dir}/empty.cpp.in ${dir}/empty.cpp COPYONLY)

  add_library(qnr_core_test_pch OBJECT ${dir}/empty.cpp)
  target_link_libraries(qnr_core_test_pch PRIVATE GTest::gtest GTest::gmock)
  target_precompile_headers(qnr_core_test_pch PRIVATE
    <gtest/gtest.h> <gmock/gmock.h>
    <algorithm> <cmath> <cstdint> <filesystem> <functional> <map> <memory> <optional>
    <sstream> <string> <vector>)
  target_compile_options(qnr_core_test_pch PRIVATE ${QNR_TEST_FLAGS})
  if(QNR_SANITIZED_TESTS)
    target_compile_options(qnr_core_test_pch PRIVATE ${QNR_SANITIZE})
  endif()

  if(QNR_BUILD_GUI)
    add_library(qnr_window_test_pch OBJECT ${dir}/empty.cpp)
    target_link_libraries(qnr_window_test_pch PRIVATE ${QNR_QT_LIBS} Qt6::Test)
    target_precompile_headers(qnr_window_test_pch PRIVATE ${QNR_QT_PCH_HEADERS} <QTest>)
    qnr_window_test_flags(qnr_window_test_pch)
  endif()
endfunction()

# Qt's test library defines the test's build and source folders per target, and
# a program can only reuse a precompiled header made with the same macros: all
# window tests get one build folder and none a source folder (no test looks up
# test data by its source folder).
function(qnr_window_test_flags name)
  set_target_properties(${name} PROPERTIES QT_TESTCASE_BUILDDIR ${CMAKE_BINARY_DIR}/tests)
  target_compile_options(${name} PRIVATE -UQT_TESTCASE_SOURCEDIR ${QNR_TEST_FLAGS})
endfunction()

function(qnr_core_test name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(TARGET qnr_core_test_pch)
    target_precompile_headers(${name} REUSE_FROM qnr_core_test_pch)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  target_compile_options(${name} PRIVATE ${QNR_TEST_FLAGS})
  # One translation unit per batch of test files: the framework's templates
  # are instantiated and compiled once instead of once per file.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  if(QNR_SANITIZED_TESTS)
    target_compile_options(${name} PRIVATE ${QNR_SANITIZE})
    qnr_san_deps(san_deps ${A_DEPS})
    target_link_libraries(${name} PRIVATE ${san_deps} qnr_test_support_san GTest::gtest_main GTest::gmock)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  else()
    target_link_libraries(${name} PRIVATE ${A_DEPS} qnr_test_support GTest::gtest_main GTest::gmock)
  endif()
endfunction()

function(qnr_window_test name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${A_DEPS} ${QNR_QT_LIBS} Qt6::Test)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  qnr_window_test_flags(${name})
  if(TARGET qnr_window_test_pch)
    target_precompile_headers(${name} REUSE_FROM qnr_window_test_pch)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# The Qt headers nearly every window includes, precompiled once for all window
# libraries and once for all window tests. Every target that reuses them
# links the same Qt modules, so that it sees the same module macros.
set(QNR_QT_LIBS Qt6::Widgets Qt6::PrintSupport Qt6::Multimedia)
set(QNR_QT_PCH_HEADERS
  <QAction> <QApplication> <QDialog> <QGridLayout> <QHBoxLayout> <QImage> <QKeyEvent> <QLabel>
  <QLineEdit> <QListWidget> <QMainWindow> <QMenu> <QMenuBar> <QMouseEvent> <QPainter> <QPointer>
  <QPushButton> <QString> <QTimer> <QVBoxLayout> <QWidget>
  <functional> <memory> <optional> <string> <vector>)

function(qnr_window_pch_target)
  set(dir ${CMAKE_BINARY_DIR}/pch)
  file(WRITE ${dir}/windows.cpp.in "// The windows' precompiled header's own translation unit.\n")
  configure_file(${dir}/windows.cpp.in ${dir}/windows.cpp COPYONLY)
  add_library(qnr_window_pch OBJECT ${dir}/windows.cpp)
  target_link_libraries(qnr_window_pch PRIVATE ${QNR_QT_LIBS})
  target_precompile_headers(qnr_window_pch PRIVATE ${QNR_QT_PCH_HEADERS})
endfunction()

# A static library of windows, or the observatory itself (EXECUTABLE).
function(qnr_window_library name)
  cmake_parse_arguments(A "EXECUTABLE" "" "SOURCES;DEPS" ${ARGN})
  if(A_EXECUTABLE)
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_DEPS} ${QNR_QT_LIBS})
  else()
    add_library(${name} STATIC ${A_SOURCES})
    target_link_libraries(${name} PUBLIC ${A_DEPS} ${QNR_QT_LIBS})
  endif()
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_precompile_headers(${name} REUSE_FROM qnr_window_pch)
endfunction()
