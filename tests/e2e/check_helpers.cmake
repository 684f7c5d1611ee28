# What the e2e CMake scripts share.

# Runs a command that must succeed; its output (stdout and stderr) is left in `out`.
function(must_run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${output}")
  endif()
  set(out "${output}" PARENT_SCOPE)
endfunction()
