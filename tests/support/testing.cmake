# vantrel_test(NAME name SOURCES ... LIBS ... [X11] [ARGS ...])
# One GoogleTest binary, one ctest entry. X11 runs it under its own Xvfb and D-Bus session. ARGS
# are given to the binary (a --gtest_filter, say).
function(vantrel_test)
  cmake_parse_arguments(T "X11" "NAME" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(NOT T_LIBS MATCHES "gtest_main|vantrel_qt_test_main")
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
  endif()
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${T_NAME} PRIVATE
    VANTREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" VANTREL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(T_X11)
    add_test(NAME ${T_NAME}
             COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-xvfb.sh $<TARGET_FILE:${T_NAME}> ${T_ARGS})
    set_tests_properties(${T_NAME} PROPERTIES LABELS x11 TIMEOUT 300)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} ${T_ARGS})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 120)
  endif()
endfunction()
