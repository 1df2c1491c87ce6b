# Fails unless the release archive holds exactly the module and README at the top and the
# simulator (stand-ins, zelhost, example configuration, tag lists, plant) in simulator/.
#   cmake -DARCHIVE=zelmpi-x-win32.zip -DEXAMPLES=<source>/examples -P check_release_archive.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS "${ARCHIVE}")
  message(FATAL_ERROR "${ARCHIVE} does not exist: build it with cpack in the build folder first")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ARCHIVE} OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot list ${ARCHIVE}")
endif()
string(REGEX MATCHALL "[^\n]+" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "/$") # directories
list(SORT entries)

file(GLOB tags RELATIVE ${EXAMPLES} ${EXAMPLES}/*.tags)
set(expected README.md zelmpi.dll simulator/HUXPRO.dll simulator/w95_s7.dll
    simulator/komfort.dll simulator/zelhost.exe simulator/ravUDE01.int simulator/demo_plant.sim)
foreach(tag IN LISTS tags)
  list(APPEND expected simulator/${tag})
endforeach()
list(SORT expected)
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${ARCHIVE} holds:\n  ${entries}\nexpected:\n  ${expected}")
endif()
message(STATUS "${ARCHIVE}: ${entries}")
