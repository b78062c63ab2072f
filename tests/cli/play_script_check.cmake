# Plays one tutorial script through morvo-cli play and checks the scene it leaves:
#   cmake -DCLI=... -DSCRIPT=... -DWORK=... -DEXPECT="text;text..." -P play_script_check.cmake
# Every EXPECT text must appear in the 'morvo-cli info' listing of the saved scene, every mesh
# in it must be valid, and the played script must end with its "Finished" message.
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND "${CLI}" play "${SCRIPT}" -o "${WORK}/scene.mvo" --shot "${WORK}/shot.png"
                RESULT_VARIABLE status OUTPUT_VARIABLE played ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "play failed (${status}): ${errors}\n${played}")
endif()
if(NOT played MATCHES "\nFinished\n$")
  message(FATAL_ERROR "the script did not end with Finished:\n${played}")
endif()
if(NOT EXISTS "${WORK}/shot.png")
  message(FATAL_ERROR "no picture drawn")
endif()
execute_process(COMMAND "${CLI}" info "${WORK}/scene.mvo" RESULT_VARIABLE status
                OUTPUT_VARIABLE info)
string(FIND "${info}" "mesh INVALID" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "the played scene holds an invalid mesh:\n${info}")
endif()
foreach(text IN LISTS EXPECT)
  string(FIND "${info}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "'${text}' not in the played scene:\n${info}")
  endif()
endforeach()
