# Turns a text file of hexadecimal bytes into a binary file. '#' starts a
# comment that runs to the end of the line. Run as: cmake -DIN=... -DOUT=... -P this
file(STRINGS ${IN} lines)
set(hex "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "#.*$" "" line "${line}")
  string(REGEX REPLACE "[ \t]+" "" line "${line}")
  string(APPEND hex "${line}")
endforeach()
if(NOT hex MATCHES "^([0-9A-Fa-f][0-9A-Fa-f])*$")
  message(FATAL_ERROR "${IN}: expected pairs of hexadecimal digits")
endif()
get_filename_component(dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
# file(WRITE) cannot write raw bytes; file(CONFIGURE) neither: go through a
# hex string and string(ASCII) is limited to 1..255, so decode with a helper.
file(WRITE ${OUT}.hex "${hex}")
execute_process(COMMAND xxd -r -p ${OUT}.hex ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${IN}: could not write ${OUT}")
endif()
file(REMOVE ${OUT}.hex)
