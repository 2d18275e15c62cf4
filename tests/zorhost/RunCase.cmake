# Runs zorhost once in a fresh copy of the cases folder and compares its exit
# status, standard output and standard error with the expected ones.
#
#   cmake -DZORHOST=... -DCASES=... -DWORK=... -DCODE=N [-DARGS=a|b] [-DSTDIN=file]
#         [-DOUT=file] [-DERR=file] [-DCONTAINS=text] [-DTHEN=script] -P RunCase.cmake
#
# OUT and ERR name files in CASES (missing: the stream must be empty);
# CONTAINS instead only asks for stdout to contain a text. THEN names a
# second script run afterwards in the same folder, which must exit 0 silently.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${CASES}/ DESTINATION ${WORK})

string(REPLACE "|" ";" ARGS "${ARGS}")
set(input_option "")
if(DEFINED STDIN)
  set(input_option INPUT_FILE ${WORK}/${STDIN})
endif()
execute_process(COMMAND ${ZORHOST} ${ARGS} WORKING_DIRECTORY ${WORK} ${input_option}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE code)

function(expect_stream name actual expected_file)
  set(expected "")
  if(expected_file)
    file(READ ${CASES}/${expected_file} expected)
  endif()
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${name} differs.\n--- expected ---\n${expected}--- actual ---\n${actual}")
  endif()
endfunction()

if(NOT code STREQUAL CODE)
  message(FATAL_ERROR "exit status ${code}, expected ${CODE}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED CONTAINS)
  string(FIND "${out}" "${CONTAINS}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "stdout lacks \"${CONTAINS}\":\n${out}")
  endif()
else()
  expect_stream(stdout "${out}" "${OUT}")
endif()
expect_stream(stderr "${err}" "${ERR}")

if(DEFINED THEN)
  execute_process(COMMAND ${ZORHOST} ${THEN} WORKING_DIRECTORY ${WORK}
                  OUTPUT_VARIABLE out2 ERROR_VARIABLE err2 RESULT_VARIABLE code2)
  if(NOT code2 EQUAL 0 OR NOT out2 STREQUAL "" OR NOT err2 STREQUAL "")
    message(FATAL_ERROR "${THEN} afterwards: exit ${code2}\nstdout:\n${out2}\nstderr:\n${err2}")
  endif()
endif()
