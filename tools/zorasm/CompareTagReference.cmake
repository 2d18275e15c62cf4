# Fails when the committed tag reference is not the one the build made from
# the tag list and docs/tags.src.md, showing how they differ.
# Run as: cmake -DMADE=build/docs/tags.md -DCOMMITTED=docs/tags.md -P CompareTagReference.cmake
if(NOT EXISTS ${MADE})
  message(FATAL_ERROR "${MADE} is missing: build the target tag_reference first")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${MADE} ${COMMITTED}
                RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u ${COMMITTED} ${MADE} OUTPUT_VARIABLE difference)
  message(FATAL_ERROR
    "docs/tags.md is not what the tag list (lcdm/Lcdm_opcode_list.h) and docs/tags.src.md make.\n"
    "Run `cmake --build --preset default --target update_tag_reference` and commit docs/tags.md.\n"
    "${difference}")
endif()
