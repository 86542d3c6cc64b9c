# SPDX-License-Identifier: GPL-3.0-or-later
# Build helpers shared by every folder. Sources are picked up by glob so that
# adding a file pair never means editing a list by hand.

# kvx_library(<target> [QT] DEPS <targets>...)
# A static library of every .cpp in the current folder. The include root is
# src/, so code writes #include "model/unite.h".
function(kvx_library target)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    # A folder with no code yet still gives a target the others can link.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# kvx_test_folder(<folder> LIBS <targets>... [BOTH_SEPARATORS] [QT])
# One test executable per tests/<folder>, every .cpp in it. With
# BOTH_SEPARATORS each test runs twice, once with "." and once with "," as the
# program's decimal separator, as on an English and a French desktop.
function(kvx_test_folder folder)
  cmake_parse_arguments(ARG "BOTH_SEPARATORS;QT" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${folder})
  add_executable(${target} ${sources} ${CMAKE_CURRENT_SOURCE_DIR}/test_main.cpp)
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  target_compile_definitions(${target} PRIVATE
    KVX_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
    KVX_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  set(env "QT_QPA_PLATFORM=offscreen")
  if(ARG_BOTH_SEPARATORS)
    gtest_discover_tests(${target} NO_PRETTY_VALUES TEST_PREFIX "${folder}[.]."
      PROPERTIES ENVIRONMENT "KVX_DECIMAL_SEPARATOR=.;${env}" DISCOVERY_MODE PRE_TEST)
    gtest_discover_tests(${target} NO_PRETTY_VALUES TEST_PREFIX "${folder}[,]."
      PROPERTIES ENVIRONMENT "KVX_DECIMAL_SEPARATOR=,;${env}" DISCOVERY_MODE PRE_TEST)
  else()
    gtest_discover_tests(${target} NO_PRETTY_VALUES TEST_PREFIX "${folder}."
      PROPERTIES ENVIRONMENT "${env}" DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()
