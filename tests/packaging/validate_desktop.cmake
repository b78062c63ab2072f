# Runs desktop-file-validate on FILE; exits with 77 (skipped) when the tool is not installed.
#   cmake -DFILE=morvo.desktop -P validate_desktop.cmake
find_program(VALIDATE desktop-file-validate)
if(NOT VALIDATE)
  message("desktop-file-validate is not installed (Debian: desktop-file-utils): skipped")
  cmake_language(EXIT 77)
endif()
execute_process(COMMAND ${VALIDATE} ${FILE} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
# The tool exits 0 on hints too; any line it prints is a finding.
if(NOT status EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "${FILE} does not validate:\n${out}")
endif()
