# Copies the project's CMake files and sources into WORK_DIR, renames one
# test source, configures, and succeeds only if the configure fails and names
# the missing file.
file(REMOVE_RECURSE ${WORK_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR}/src
     PATTERN ".git" EXCLUDE
     REGEX "/build[^/]*$" EXCLUDE)
file(RENAME ${WORK_DIR}/src/tests/notation/key_sequence_test.cpp
     ${WORK_DIR}/src/tests/notation/key_sequence_test_renamed.cpp)
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${WORK_DIR}/src -B ${WORK_DIR}/build
          -DQUILLORA_GUI=OFF -DQUILLORA_SOUND_OUTPUT=OFF -DQUILLORA_BENCH=OFF
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
file(REMOVE_RECURSE ${WORK_DIR})
if(result EQUAL 0)
  message(FATAL_ERROR "The configure passed with a test source missing")
endif()
if(NOT output MATCHES "key_sequence_test")
  message(FATAL_ERROR "The configure failed without naming the file:\n${output}")
endif()
message(STATUS "The configure failed as it must:\n${output}")
