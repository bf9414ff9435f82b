# kz_add_gtest(NAME SOURCES... LIBS ...) : one GoogleTest executable, registered
# with ctest.  Tests run with the offscreen Qt platform and private XDG folders
# so that they never need a display and never touch the user's settings.
function(kz_add_gtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock Threads::Threads)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
      KZ_SOURCE_DIR="${CMAKE_SOURCE_DIR}" KZ_BIN_DIR="${KZ_BIN_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  # kz_tests: every test program, so that a sanitizer tree builds only those.
  if(NOT TARGET kz_tests)
    add_custom_target(kz_tests)
  endif()
  add_dependencies(kz_tests ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/tests/xdg/config;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/tests/xdg/data"
      LABELS "${T_LABELS}")
endfunction()
