# Checks that a shared library exports the expected C functions and no C++
# symbols (the static code it is built from, vakuro_common included, stays
# inside). Usage: cmake -DLIBRARY=<file> "-DNAMES=<name>;<name>..." -P check_exports.cmake
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
foreach(name ${NAMES})
  if(NOT symbols MATCHES " T ${name}\n")
    message(FATAL_ERROR "${name} is not exported")
  endif()
endforeach()
if(symbols MATCHES " _Z[^\n]*")
  message(FATAL_ERROR "C++ symbol exported: ${CMAKE_MATCH_0}")
endif()
