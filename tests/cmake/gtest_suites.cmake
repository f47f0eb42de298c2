# SPDX-License-Identifier: GPL-3.0-or-later
# Run after a test program is linked: lists its test cases and writes a CTest file with one test
# per GoogleTest suite, named PREFIX.Suite, that runs the suite's cases in one process; with
# EACH_CASE set, one test per case instead, named PREFIX.Suite.Case. A parameterised suite listed
# as Instance/Suite is named by its suite alone unless two instances share it.
# Inputs: PROGRAM, CTEST_FILE, PREFIX, EACH_CASE, ENVIRONMENT (VAR=value|...), TIMEOUT, WORKING_DIRECTORY,
# LAUNCHER (command|arguments... that runs each test process; may be empty).
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" ENVIRONMENT "${ENVIRONMENT}")
set(launcher "")
if(LAUNCHER)
  string(REPLACE "|" ";" LAUNCHER "${LAUNCHER}")
  foreach(word IN LISTS LAUNCHER)
    string(APPEND launcher "[==[${word}]==] ")
  endforeach()
endif()
execute_process(COMMAND "${PROGRAM}" --gtest_list_tests
                WORKING_DIRECTORY "${WORKING_DIRECTORY}"
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed (${status}):\n${errors}")
endif()

set(script "")
set(suites "")
function(add_ctest name filter)
  string(APPEND script
    "add_test([==[${PREFIX}.${name}]==] ${launcher}[==[${PROGRAM}]==] [==[--gtest_filter=${filter}]==] --gtest_brief=1)\n"
    "set_tests_properties([==[${PREFIX}.${name}]==] PROPERTIES WORKING_DIRECTORY [==[${WORKING_DIRECTORY}]==]"
    " ENVIRONMENT [==[${ENVIRONMENT}]==] TIMEOUT ${TIMEOUT})\n")
  set(script "${script}" PARENT_SCOPE)
endfunction()

string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.")
    # A suite, starting in the first column and ending with a dot.
    set(suite "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "^.*/" "" short "${suite}")
    if(short IN_LIST suites)
      string(REPLACE "/" "." short "${suite}")
    endif()
    list(APPEND suites "${short}")
    if(NOT EACH_CASE)
      add_ctest("${short}" "${suite}.*")
    endif()
  elseif(EACH_CASE AND line MATCHES "^  ([^ ]+)")
    add_ctest("${short}.${CMAKE_MATCH_1}" "${suite}.${CMAKE_MATCH_1}")
  endif()
endforeach()
if(NOT suites)
  message(FATAL_ERROR "${PROGRAM} lists no tests")
endif()
file(WRITE "${CTEST_FILE}" "${script}")
