# Plays a recorded modeling session through morvo-cli play and runs the same commands through
# morvo-cli run; the two saved scenes must be the same bytes:
#   cmake -DCLI=... -DSCRIPT=... -DSTEPS="step;step..." -DWORK=... -P run_matches_play.cmake
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND "${CLI}" play "${SCRIPT}" -o "${WORK}/played.mvo" RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "play failed (${status}): ${errors}\n${out}")
endif()
execute_process(COMMAND "${CLI}" run - ${STEPS} -o "${WORK}/run.mvo" RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "run failed (${status}): ${errors}\n${out}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}/played.mvo" "${WORK}/run.mvo"
                RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "run '${STEPS}' saved another scene than ${SCRIPT} played")
endif()
