# Runs TOOL [ARGS] FILE; fails on a non-zero exit or on a warning or error it prints.
# Prints SKIPPED: when the tool is not installed.
find_program(tool ${TOOL})
if(NOT tool)
  message("SKIPPED: ${TOOL} is not installed")
  return()
endif()
execute_process(COMMAND ${tool} ${ARGS} ${FILE} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0 OR out MATCHES "(^|[ :])(error|warning|E|W):")
  message(FATAL_ERROR "${TOOL} finds fault with ${FILE}")
endif()
