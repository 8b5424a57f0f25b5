# GoogleTest from Debian's source package, compiled with whichever compiler
# this tree uses (the MinGW cross compilers need their own build of it).
set(QUENFEL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUENFEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# quenfel_add_test(name sources...): one test executable, one CTest entry.
function(quenfel_add_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE gtest gtest_main)
  if(WIN32)
    # Same manifest (common controls 6) and resources as the program.
    target_link_libraries(${name} PRIVATE quenfel_core quenfel_resources)
  else()
    target_link_libraries(${name} PRIVATE quenfel_portable)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
