# The warning level every target of the project is built with.
function(zodidezi_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${ZODIDEZI_WARNINGS_AS_ERRORS}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
      $<$<BOOL:${ZODIDEZI_WARNINGS_AS_ERRORS}>:-Werror>)
  endif()
endfunction()
