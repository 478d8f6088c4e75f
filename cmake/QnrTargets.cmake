# Helpers that keep every subsystem's CMakeLists short and alike.
#
# qnr_core_library(NAME SOURCES ... [DEPS ...] [INCLUDES ...])
#   A plain C++ library (no Qt). With QNR_SANITIZED_TESTS a twin NAME_san is
#   built with ASan and UBSan, linked by the sanitized copies of the core tests.
#   INCLUDES are public include folders of both.
# qnr_core_test(NAME SOURCES ... DEPS ...)
#   A GoogleTest program registered with CTest, plus its sanitized twin.
# qnr_window_test(NAME SOURCES ... DEPS ...)
#   A QtTest program run offscreen.

set(QNR_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

# The sanitized twin of each dependency that has one, else the dependency.
function(qnr_san_deps out)
  set(deps)
  foreach(d IN LISTS ARGN)
    if(TARGET ${d}_san)
      list(APPEND deps ${d}_san)
    else()
      list(APPEND deps ${d})
    endif()
  endforeach()
  set(${out} ${deps} PARENT_SCOPE)
endfunction()

function(qnr_core_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;INCLUDES" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  if(A_INCLUDES)
    target_include_directories(${name} PUBLIC ${A_INCLUDES})
  endif()
  if(QNR_SANITIZED_TESTS AND QNR_BUILD_TESTS)
    add_library(${name}_san STATIC EXCLUDE_FROM_ALL ${A_SOURCES})
    target_compile_options(${name}_san PRIVATE ${QNR_SAN_FLAGS})
    if(A_INCLUDES)
      target_include_directories(${name}_san PUBLIC ${A_INCLUDES})
    endif()
    qnr_san_deps(san_deps ${A_DEPS})
    target_link_libraries(${name}_san PUBLIC ${san_deps})
    target_link_options(${name}_san PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

function(qnr_core_test name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS} qnr_test_support GTest::gtest_main GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  if(QNR_SANITIZED_TESTS)
    add_executable(${name}_san ${A_SOURCES})
    target_compile_options(${name}_san PRIVATE ${QNR_SAN_FLAGS})
    qnr_san_deps(san_deps ${A_DEPS})
    target_link_libraries(${name}_san PRIVATE ${san_deps} qnr_test_support_san GTest::gtest_main GTest::gmock)
    set_target_properties(${name}_san PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name}_san COMMAND ${name}_san)
    set_tests_properties(${name}_san PROPERTIES
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endif()
endfunction()

function(qnr_window_test name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS} Qt6::Test)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
