# What `cmake --install` puts where, and the packages that CPack makes of it:
# a .deb and a .tar.gz on Linux, a .zip on Windows.

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

set(CPACK_PACKAGE_VENDOR "${zodidezi_maker}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converts Zibol text files into Windows code page 1250 text")
set(CPACK_PACKAGE_DESCRIPTION "zodidezi turns text files in the Zibol encoding (*.zib) into Windows code
page 1250 text with CR LF line ends. The Linux port behaves as the Windows
console program does, byte for byte.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  # Without dpkg CPack cannot tell the package's architecture and would call it i386.
  find_program(dpkg_command dpkg)
  if(dpkg_command)
    set(CPACK_GENERATOR DEB TGZ)
  else()
    set(CPACK_GENERATOR TGZ)
    message(STATUS "dpkg not found: cpack makes the .tar.gz alone")
  endif()
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_VENDOR}")
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # dpkg-dev's dpkg-shlibdeps names the exact library versions; without it
  # the package names the libraries alone.
  find_program(dpkg_shlibdeps dpkg-shlibdeps)
  find_program(file_command file)
  if(dpkg_shlibdeps AND file_command)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6")
  endif()
endif()
include(CPack)
