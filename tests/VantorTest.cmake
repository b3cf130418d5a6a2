# vantor_add_test(NAME sources... [LIBS libs...] [QT_MAIN | WIDGETS_MAIN]
# [LAUNCHER cmd]): a GoogleTest program whose cases ctest lists one by one,
# linked with the shared test support (tests/support). QT_MAIN: its main()
# makes a QCoreApplication (an event loop, child processes); WIDGETS_MAIN: a
# QApplication. LAUNCHER: a program that runs the test program (listing
# included), such as one that gives it a private bus.
include(GoogleTest)

# No test may reach the real home folder: every test program moves HOME and
# the XDG folders into this folder of the build before anything runs
# (TestHome.cpp), whether ctest or a developer starts it. Cases that write
# files use a folder of their own below testing::TempDir(), which lies here too.
set(VANTOR_TEST_HOME ${CMAKE_BINARY_DIR}/test-home)

function(vantor_add_test name)
  cmake_parse_arguments(T "QT_MAIN;WIDGETS_MAIN" "LAUNCHER" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS} ${CMAKE_SOURCE_DIR}/tests/TestHome.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} vx_test_support GTest::gtest)
  if(T_WIDGETS_MAIN)
    target_link_libraries(${name} PRIVATE vx_test_main_widgets vx_test_support_qt)
  elseif(T_QT_MAIN)
    target_link_libraries(${name} PRIVATE vx_test_main_core vx_test_support_qt)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    VX_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures"
    VX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VX_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    VX_TEST_HOME="${VANTOR_TEST_HOME}")
  if(T_LAUNCHER)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${T_LAUNCHER})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# vantor_test_depends(NAME items...): the test program is built after the
# programs and generated data files it uses; items the build does not make
# (data that needs an optional source) are left out.
function(vantor_test_depends name)
  foreach(item ${ARGN})
    if(TARGET ${item})
      add_dependencies(${name} ${item})
    endif()
  endforeach()
endfunction()
