# GoogleTest for the Windows cross build, where every test program runs under wine and each
# start costs seconds: a test program is one ctest instead of one per discovered test.
# Found first through CMAKE_MODULE_PATH, which the windows preset sets.
function(gtest_discover_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "WORKING_DIRECTORY;DISCOVERY_MODE" "")
  # Under wine on qemu, GoogleTest's OutputDebugStringA call on a failed assertion crashes the
  # program; the stub turns it into a no-op so a failure is reported as one.
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/windows/no_debug_output.cpp)
  if(arg_WORKING_DIRECTORY)
    add_test(NAME ${target} COMMAND ${target} WORKING_DIRECTORY ${arg_WORKING_DIRECTORY})
  else()
    add_test(NAME ${target} COMMAND ${target})
  endif()
  # 125: wine itself could not start (scripts/windows/wine.sh), not a failing test.
  set_tests_properties(${target} PROPERTIES LABELS wine SKIP_RETURN_CODE 125)
endfunction()
