# Fails unless the shared library LIBRARY exports exactly the three C entry points.
#   cmake -DNM=nm -DLIBRARY=libmotr.so -P check_exports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY} OUTPUT_VARIABLE listing
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(names)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* " "" name "${line}")
  list(APPEND names ${name})
endforeach()
list(SORT names)
if(NOT names STREQUAL "motrDelaunayNPd;motrDelaunayNPf;motrVersionNP")
  message(FATAL_ERROR "libmotr exports: ${names}")
endif()
