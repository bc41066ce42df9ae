# Installs the build into a scratch prefix and checks the tree and the
# installed program. Usage: cmake -D build=... -D prefix=... -D version=... -P this
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${build} --prefix ${prefix} OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(expected bin/zodidezi share/man/man1/zodidezi.1 share/doc/zodidezi/README.md
                 share/doc/zodidezi/examples/pozdrav.zib share/doc/zodidezi/examples/pozdrav.txt)
  if(NOT EXISTS ${prefix}/${expected})
    message(FATAL_ERROR "not installed: ${expected}")
  endif()
endforeach()

file(READ ${prefix}/share/man/man1/zodidezi.1 page)
if(NOT page MATCHES "\"zodidezi ${version}\"" OR page MATCHES "@")
  message(FATAL_ERROR "the installed man page does not name version ${version}")
endif()

execute_process(COMMAND ${prefix}/bin/zodidezi --version OUTPUT_VARIABLE banner RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT banner MATCHES "ZODIDEZI ${version} \\(Zibol --> Win1250\\)")
  message(FATAL_ERROR "the installed program says (${status}):\n${banner}")
endif()
