# Shared build settings of every Urbaflux target.

# All warnings (errors with URBAFLUX_WERROR, as in our own builds), and no floating-point
# contraction: the calculation must give the same bits whatever the compiler decides to fuse.
function(urbaflux_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -ffp-contract=off)
  if(URBAFLUX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII
                                               QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
endfunction()

# urbaflux_add_library(name SOURCES ... LIBS ...): one static library per subsystem folder.
function(urbaflux_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  urbaflux_target_settings(${name})
endfunction()

# urbaflux_add_test(name SOURCES ... LIBS ...): a Qt Test program run headless by ctest.
function(urbaflux_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  urbaflux_target_settings(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;QT_LOGGING_RULES=qt.qpa.*=false"
    TIMEOUT ${ARG_TIMEOUT})
endfunction()
