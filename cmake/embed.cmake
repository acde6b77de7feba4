# embed_assets(TARGET target ASSETS Symbol=relative/path ...): compiles each file into target as
# assets::Symbol, regenerated whenever the file changes.
set(EMBED_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/embed_file.cmake")
function(embed_assets)
  cmake_parse_arguments(ARG "" "TARGET" "ASSETS" ${ARGN})
  foreach(pair IN LISTS ARG_ASSETS)
    string(REPLACE "=" ";" parts "${pair}")
    list(GET parts 0 symbol)
    list(GET parts 1 file)
    set(in "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp")
    add_custom_command(OUTPUT "${out}"
      COMMAND ${CMAKE_COMMAND} -DIN=${in} -DOUT=${out} -DSYMBOL=${symbol} -P ${EMBED_SCRIPT}
      DEPENDS "${in}" "${EMBED_SCRIPT}" VERBATIM)
    target_sources(${ARG_TARGET} PRIVATE "${out}")
  endforeach()
endfunction()
