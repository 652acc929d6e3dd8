# What keeps a cold build short: much of a translation unit's time goes into parsing the standard and
# GoogleTest headers, so every target gets a precompiled header of those it can see. Test and benchmark code
# also drops debug information, and test code is not optimised: the libraries they exercise are built once,
# exactly as the program a user runs.

set(ORVANE_PCH_STD
  <algorithm> <array> <cctype> <cfloat> <climits> <cmath> <cstdarg> <cstddef> <cstdint> <cstdio> <cstdlib>
  <cstring> <functional> <initializer_list> <map> <memory> <new> <optional> <set> <span> <string>
  <string_view> <tuple> <unordered_map> <unordered_set> <utility> <vector>)

set(ORVANE_PCH_TEST <gtest/gtest.h>)

# True when target links lib, directly or through the libraries it links.
function(orvane_links target lib out)
  set(seen "")
  set(todo ${target})
  set(found FALSE)
  while(todo)
    list(POP_FRONT todo t)
    if(t IN_LIST seen OR NOT TARGET ${t})
      continue()
    endif()
    list(APPEND seen ${t})
    if(t STREQUAL lib)
      set(found TRUE)
      break()
    endif()
    get_target_property(type ${t} TYPE)
    set(libs "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${t} LINK_LIBRARIES)
      if(direct)
        list(APPEND libs ${direct})
      endif()
    endif()
    get_target_property(iface ${t} INTERFACE_LINK_LIBRARIES)
    if(iface)
      list(APPEND libs ${iface})
    endif()
    list(APPEND todo ${libs})
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Targets compiled with the same flags share one precompiled header, made by a small object library of
# its own: a header of the wx and GoogleTest headers runs to a few hundred megabytes, and one per target
# filled a small disk.
function(orvane_pch_owner kind gui out)
  if(gui)
    set(owner orvane_pch_${kind}_wx)
  else()
    set(owner orvane_pch_${kind})
  endif()
  string(TOLOWER ${owner} owner)
  if(NOT TARGET ${owner})
    set(empty ${CMAKE_BINARY_DIR}/orvane_pch_empty.cpp)
    if(NOT EXISTS ${empty})
      file(WRITE ${empty} "")
    endif()
    add_library(${owner} OBJECT ${empty})
    target_link_libraries(${owner} PRIVATE orvane_warnings)
    set(headers ${ORVANE_PCH_STD})
    if(gui)
      # The wx flags (-pthread among them) must match, but wx's own headers stay out: with them each header
      # grew from under 100 to over 200 megabytes for 7% less compile time.
      target_link_libraries(${owner} PRIVATE orvane_wx)
    endif()
    if(kind STREQUAL "TEST")
      target_link_libraries(${owner} PRIVATE GTest::gtest)
      list(APPEND headers ${ORVANE_PCH_TEST})
    endif()
    orvane_kind_options(${owner} ${kind})
    target_precompile_headers(${owner} PRIVATE ${headers})
  endif()
  set(${out} ${owner} PARENT_SCOPE)
endfunction()

# kind: LIBRARY (built as the program is), TEST (not optimised) or BENCH (optimised); no debug info for the
# last two.
function(orvane_kind_options target kind)
  if(kind STREQUAL "TEST")
    target_compile_options(${target} PRIVATE -O0 -g0)
  elseif(kind STREQUAL "BENCH")
    target_compile_options(${target} PRIVATE -g0)
  endif()
endfunction()

function(orvane_speed_up target kind)
  get_target_property(type ${target} TYPE)
  if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE|OBJECT_LIBRARY)$" OR target MATCHES "^orvane_pch_")
    return()
  endif()
  orvane_kind_options(${target} ${kind})
  if(kind STREQUAL "TEST")
    # Test helpers without GoogleTest would find its header's macros missing and refuse the shared header.
    orvane_links(${target} GTest::gtest with_gtest)
    orvane_links(${target} GTest::gtest_main with_gtest_main)
    if(NOT with_gtest AND NOT with_gtest_main)
      return()
    endif()
  endif()
  if(NOT ORVANE_BUILD_FUZZ)
    orvane_links(${target} orvane_wx gui)
    orvane_pch_owner(${kind} "${gui}" owner)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  endif()
endfunction()

# Applies orvane_speed_up to every target a directory (not its subdirectories) defines.
function(orvane_speed_up_directory dir kind)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t ${targets})
    orvane_speed_up(${t} ${kind})
  endforeach()
endfunction()
