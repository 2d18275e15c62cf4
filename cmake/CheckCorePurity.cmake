# The module core must be able to run on the module's own processor: no heap,
# no exceptions, no RTTI, and nothing of the standard library beyond
# <cstdint>, <cstddef> and <cstring>. Run as: cmake -DLIB=... -DSRC=... -P this
file(GLOB sources ${SRC}/*.h ${SRC}/*.cpp)
set(failures "")
foreach(source ${sources})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*<")
  foreach(line ${includes})
    string(REGEX MATCH "<([^>]+)>" _ "${line}")
    if(NOT CMAKE_MATCH_1 MATCHES "^(cstdint|cstddef|cstring)$")
      string(APPEND failures "${source}: includes <${CMAKE_MATCH_1}>\n")
    endif()
  endforeach()
endforeach()

execute_process(COMMAND nm -C -u ${LIB} OUTPUT_VARIABLE undefined RESULT_VARIABLE nm_result)
if(NOT nm_result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIB}")
endif()
string(REGEX MATCHALL "[^\n]*(malloc|calloc|realloc|[^a-z_]free\\b|operator new|operator delete|__cxa_throw|__cxa_allocate_exception|typeinfo|std::)[^\n]*"
       forbidden "${undefined}")
foreach(symbol ${forbidden})
  # Sanitizer builds instrument the core with their own runtime calls.
  if(NOT symbol MATCHES "__(asan|ubsan|sanitizer|sancov|lsan)")
    string(APPEND failures "${LIB}: needs ${symbol}\n")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "The module core uses what it must not:\n${failures}")
endif()
message(STATUS "module core: only <cstdint>/<cstddef>/<cstring>, no heap, no exceptions, no RTTI")
