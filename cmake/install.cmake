# What `cmake --install` puts where.

# Each example source with the text it converts to.
file(GLOB example_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.zib)
list(TRANSFORM example_sources REPLACE "\\.zib$" ".txt" OUTPUT_VARIABLE example_texts)
set(example_files ${example_sources} ${example_texts})

if(WIN32)
  # One folder, as Windows programs come: the .exe, the README as text, the examples.
  configure_file(README.md ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS zodidezi RUNTIME DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)
  install(FILES ${example_files} DESTINATION examples)
else()
  include(GNUInstallDirs)
  install(TARGETS zodidezi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/doc/zodidezi.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${example_files} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
endif()
