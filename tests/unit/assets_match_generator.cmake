# Runs the asset generator into a fresh folder and fails unless it writes exactly the committed
# asset files, byte for byte.
#   cmake -DGENERATOR=assetgen -DCOMMITTED=src/assets -DOUTPUT=folder -DFILES=a,b,... -P this file
string(REPLACE "," ";" expected "${FILES}")
file(REMOVE_RECURSE "${OUTPUT}")
execute_process(COMMAND "${GENERATOR}" "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "assetgen failed (${status})")
endif()

file(GLOB written RELATIVE "${OUTPUT}" "${OUTPUT}/*")
list(SORT written)
list(SORT expected)
if(NOT written STREQUAL expected)
  message(FATAL_ERROR "assetgen wrote [${written}], expected [${expected}]")
endif()

set(stale "")
foreach(name IN LISTS expected)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}/${name}" "${COMMITTED}/${name}"
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    list(APPEND stale "${name}")
  endif()
endforeach()
if(stale)
  message(FATAL_ERROR "committed assets differ from the generator's output: ${stale}\n"
                      "Regenerate with: <native build>/tools/assetgen/assetgen src/assets")
endif()
