# GoogleTest is built from the sources of Debian's libgtest-dev inside the tree,
# so the native and the cross build use the same framework and nothing is downloaded.
set(SCRIVEL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${SCRIVEL_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${SCRIVEL_GTEST_SOURCE}; run tools/setup")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${SCRIVEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# scrivel_add_test(NAME SOURCES a.cpp b.cpp LIBRARIES lib...)
# One test program is one CTest entry: under Wine the start-up is paid once per program. Each
# prints the name of every test as it starts (tests/harness/test_names.cpp). CTest's limit stays
# above tools/wine-run's, so that a hanging Windows program is ended by the inner limit and its
# log still names the test that hung.
function(scrivel_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/harness/test_names.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gtest GTest::gtest_main GTest::gmock scrivel_options)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
