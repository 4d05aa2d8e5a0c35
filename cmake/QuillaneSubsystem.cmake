# qln_subsystem(NAME [DEPS lib...])
# Builds the static library qln_NAME from the .cpp files of the calling folder. Files named
# *_win.cpp need <windows.h> and join only the Windows build; files named *_posix.cpp are
# their POSIX counterparts for the native build; the rest is portable and built on both.
function(qln_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS;WIN_DEPS;EXTRA_WIN" ${ARGN})
  file(GLOB portable CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER portable EXCLUDE REGEX "_(win|posix)\\.cpp$")
  set(sources ${portable})
  if(WIN32)
    file(GLOB system_specific CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_win.cpp
         ${ARG_EXTRA_WIN})
  else()
    file(GLOB system_specific CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_posix.cpp)
  endif()
  list(APPEND sources ${system_specific})
  if(sources)
    add_library(qln_${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(qln_${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(qln_${name} ${scope} ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(qln_${name} ${scope} ${ARG_DEPS})
  if(WIN32 AND ARG_WIN_DEPS)
    target_link_libraries(qln_${name} ${scope} ${ARG_WIN_DEPS})
  endif()
endfunction()

# qln_test(NAME SOURCES... [DEPS lib...]): one GoogleTest executable registered with CTest.
function(qln_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE QLN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                              QLN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name})
endfunction()
