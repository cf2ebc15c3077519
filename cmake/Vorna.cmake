# Shared settings of the project's own targets: warnings are errors here, never in Qt's generated code.
# The fuzz build (clang) warns of more than GCC does; there a warning must not keep the fuzzers from running.
function(vorna_target_defaults target)
  set(werror -Werror)
  if(VORNA_FUZZ)
    set(werror)
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic ${werror} -Wno-missing-field-initializers)
endfunction()

# A test's time limit, five times longer under the sanitizers, where the programs run that much slower;
# there QtTest's own limit for one test function (five minutes) gives way to the whole test's.
function(vorna_test_timeout test seconds)
  if(VORNA_SANITIZE)
    math(EXPR seconds "${seconds} * 5")
    math(EXPR milliseconds "${seconds} * 1000")
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT_MODIFICATION
                 "QTEST_FUNCTION_TIMEOUT=set:${milliseconds}")
  endif()
  set_tests_properties(${test} PROPERTIES TIMEOUT ${seconds})
endfunction()

# A QtTest executable registered with CTest, run by a launcher if one is named:
#   vorna_add_test(tst_text SOURCES tst_text.cpp LIBRARIES vorna_text [TIMEOUT s] [LAUNCHER command...])
function(vorna_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBRARIES;ENVIRONMENT;LAUNCHER" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  vorna_target_defaults(${name})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBRARIES})
  vorna_register_test(${name} ${name} TIMEOUT ${T_TIMEOUT} ENVIRONMENT ${T_ENVIRONMENT} LAUNCHER ${T_LAUNCHER})
endfunction()

# A run of a test executable under a name of its own (off screen unless the environment says otherwise);
# a second run of one with other environment is a second name:
#   vorna_register_test(tst_map_view-software tst_map_view ENVIRONMENT "QT_QUICK_BACKEND=software")
function(vorna_register_test test target)
  cmake_parse_arguments(T "" "TIMEOUT" "ENVIRONMENT;LAUNCHER" ${ARGN})
  add_test(NAME ${test} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${target}>)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  vorna_test_timeout(${test} ${T_TIMEOUT})
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VORNA_SOURCE_DIR=${PROJECT_SOURCE_DIR};${T_ENVIRONMENT}")
endfunction()
