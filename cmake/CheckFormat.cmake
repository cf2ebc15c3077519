# Fails when clang-format would change any C++ file that git tracks: the code keeps the house format.
#   cmake -DCLANG_FORMAT=<program> -DSOURCE_DIR=<tree> -P CheckFormat.cmake
execute_process(COMMAND git ls-files -- "*.cpp" "*.h" WORKING_DIRECTORY ${SOURCE_DIR}
  OUTPUT_VARIABLE files OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE listed)
if(NOT listed EQUAL 0)
  message(FATAL_ERROR "git could not list the sources of ${SOURCE_DIR}")
endif()
string(REPLACE "\n" ";" files "${files}")
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${files} WORKING_DIRECTORY ${SOURCE_DIR}
  RESULT_VARIABLE formatted)
if(NOT formatted EQUAL 0)
  message(FATAL_ERROR "Some files are not in the house format: run clang-format -i on them")
endif()
