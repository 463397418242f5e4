# Runs fern-trace for 640 x 480 at tick 10 and compares with the known trace.
execute_process(COMMAND ${TRACE} 640 480 10 10 OUTPUT_VARIABLE got RESULT_VARIABLE rc)
file(READ ${EXPECTED} want)
if(NOT rc EQUAL 0 OR NOT got STREQUAL want)
  message(FATAL_ERROR "fern-trace output differs (exit ${rc}):\n${got}")
endif()
