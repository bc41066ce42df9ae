# GoogleTest: the installed package for native builds. A cross build needs
# the library built for its target, so it builds the sources that Debian's
# libgtest-dev ships.
set(ZODIDEZI_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources, built for cross builds")

if(CMAKE_CROSSCOMPILING)
  if(EXISTS ${ZODIDEZI_GTEST_SOURCE}/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
    add_subdirectory(${ZODIDEZI_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
    set(GTest_FOUND TRUE)
  elseif(ZODIDEZI_REQUIRE_TESTS)
    message(FATAL_ERROR "GoogleTest sources not found at ${ZODIDEZI_GTEST_SOURCE}")
  endif()
elseif(ZODIDEZI_REQUIRE_TESTS)
  find_package(GTest REQUIRED)
else()
  find_package(GTest)
endif()
