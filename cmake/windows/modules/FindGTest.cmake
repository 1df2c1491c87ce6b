# GoogleTest for the Windows cross build: built from Debian's sources (/usr/src/googletest)
# with the mingw compilers; the Linux libgtest cannot be linked into a Windows program.
# Found first through CMAKE_MODULE_PATH, which the windows preset sets.
if(NOT TARGET GTest::gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(ZELMPI_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
  add_subdirectory(${ZELMPI_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
set(GTest_FOUND TRUE)
set(GTEST_FOUND TRUE)
