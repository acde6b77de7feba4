# Runs moviegen into OUTPUT and fails unless the result equals the COMMITTED movie byte for byte.
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "moviegen failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMMITTED} RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} is not what moviegen makes now; run moviegen to refresh it")
endif()
