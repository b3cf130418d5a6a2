# Runs modelgen on VOACAP's coefficient folder IN into OUT and compares the
# result with EXPECTED (the committed data/ModelCoefficients.dat) byte for byte.
file(REMOVE ${OUT})
execute_process(COMMAND ${PROGRAM} ${IN} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "modelgen failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${EXPECTED} RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "${OUT} differs from ${EXPECTED}: run modelgen ${IN} data/ModelCoefficients.dat")
endif()
