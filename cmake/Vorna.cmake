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

# A QtTest executable, built as the project's own targets are.
function(vorna_test_executable name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  vorna_target_defaults(${name})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBRARIES})
  # Every wait of a test has the one limit of tests/support/Patience.h, QtTest's own QTRY_ macros included.
  target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/Patience.h)
  if(VORNA_SANITIZE)
    target_compile_definitions(${name} PRIVATE VORNA_SANITIZE)
  endif()
endfunction()

# A QtTest executable registered with CTest, run by a launcher if one is named:
#   vorna_add_test(tst_text SOURCES tst_text.cpp LIBRARIES vorna_text [NO_SESSION_BUS] [TIMEOUT s]
#                  [LAUNCHER command...])
function(vorna_add_test name)
  cmake_parse_arguments(T "NO_SESSION_BUS" "TIMEOUT" "SOURCES;LIBRARIES;ENVIRONMENT;LAUNCHER" ${ARGN})
  vorna_test_executable(${name} SOURCES ${T_SOURCES} LIBRARIES ${T_LIBRARIES})
  if(T_NO_SESSION_BUS)
    set(bus NO_SESSION_BUS)
  endif()
  vorna_register_test(${name} ${name} ${bus} TIMEOUT ${T_TIMEOUT} ENVIRONMENT ${T_ENVIRONMENT}
                      LAUNCHER ${T_LAUNCHER})
endfunction()

# A run of a test executable under a name of its own (off screen unless the environment says otherwise);
# a second run of one with other environment, or of some of its functions, is a second name:
#   vorna_register_test(tst_map_view-software tst_map_view ENVIRONMENT "QT_QUICK_BACKEND=software")
function(vorna_register_test test target)
  cmake_parse_arguments(T "NO_SESSION_BUS" "TIMEOUT" "ENVIRONMENT;LAUNCHER;ARGS" ${ARGN})
  # Each in a session of its own (tests/support/own-session): no test meets another's keyring or settings;
  # with NO_SESSION_BUS, in one without a session bus at all.
  set(session ${PROJECT_SOURCE_DIR}/tests/support/own-session)
  if(T_NO_SESSION_BUS)
    list(APPEND session --no-bus)
  endif()
  add_test(NAME ${test} COMMAND ${session} ${T_LAUNCHER} $<TARGET_FILE:${target}> ${T_ARGS})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  vorna_test_timeout(${test} ${T_TIMEOUT})
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VORNA_SOURCE_DIR=${PROJECT_SOURCE_DIR};${T_ENVIRONMENT}")
endfunction()

# A QtTest executable whose functions run as several tests, side by side, one per group: each group keeps
# well inside its time limit, and QtTest's five minutes for a function, on a busy machine. A further test
# fails while a function of the executable is in no group.
#   vorna_add_grouped_test(tst_screen_rules SOURCES … LIBRARIES … TIMEOUT s
#                          GROUPS "pages:pageTable,controls" "account:accountScreens")
function(vorna_add_grouped_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBRARIES;ENVIRONMENT;LAUNCHER;GROUPS" ${ARGN})
  vorna_test_executable(${name} SOURCES ${T_SOURCES} LIBRARIES ${T_LIBRARIES})
  set(grouped)
  foreach(group ${T_GROUPS})
    string(REPLACE ":" ";" parts "${group}")
    list(GET parts 0 groupName)
    list(GET parts 1 functions)
    string(REPLACE "," ";" functions "${functions}")
    list(APPEND grouped ${functions})
    vorna_register_test(${name}-${groupName} ${name} TIMEOUT ${T_TIMEOUT} ENVIRONMENT ${T_ENVIRONMENT}
                        LAUNCHER ${T_LAUNCHER} ARGS ${functions})
  endforeach()
  string(REPLACE ";" "," grouped "${grouped}")
  add_test(NAME ${name}-groups COMMAND ${CMAKE_COMMAND} -DTEST=$<TARGET_FILE:${name}> "-DGROUPED=${grouped}"
           -P ${PROJECT_SOURCE_DIR}/cmake/CheckTestGroups.cmake)
  set_tests_properties(${name}-groups PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 60)
endfunction()
