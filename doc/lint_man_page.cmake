# Lints the manual page `page` with mandoc and with groff, each where it is
# installed: any word from either fails. Usage: cmake -D page=... -P this
find_program(mandoc mandoc)
find_program(groff groff)
if(NOT mandoc AND NOT groff)
  message("no man page linter: neither mandoc nor groff is installed")
  return()
endif()

function(lint)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE said ERROR_VARIABLE said RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT said STREQUAL "")
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command}: exit status ${status}\n${said}")
  endif()
endfunction()

if(mandoc)
  lint(${mandoc} -T lint ${page})
endif()
if(groff)
  # The utf8 device has every accented letter of the table.
  lint(${groff} -t -ww -z -man -T utf8 ${page})
endif()
