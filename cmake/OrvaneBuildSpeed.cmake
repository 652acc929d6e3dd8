# What keeps a cold build short: most of a translation unit's time goes into parsing the standard, wx and
# GoogleTest headers, so every target gets a precompiled header of those it can see. Test and benchmark code
# also drops debug information, and test code is not optimised: the libraries they exercise are built once,
# exactly as the program a user runs.

set(ORVANE_PCH_STD
  <algorithm> <array> <cctype> <cfloat> <climits> <cmath> <cstdarg> <cstddef> <cstdint> <cstdio> <cstdlib>
  <cstring> <functional> <initializer_list> <map> <memory> <new> <optional> <set> <span> <string>
  <string_view> <tuple> <unordered_map> <unordered_set> <utility> <vector>)

# Not <wx/glcanvas.h>: it brings in Xlib, whose macros (None, Bool, Status...) would reach every file.
set(ORVANE_PCH_WX
  <wx/wx.h> <wx/artprov.h> <wx/dcbuffer.h> <wx/display.h> <wx/evtloop.h> <wx/fileconf.h> <wx/filename.h>
  <wx/listctrl.h> <wx/modalhook.h> <wx/renderer.h> <wx/wupdlock.h>)

set(ORVANE_PCH_TEST <gtest/gtest.h>)

# True when target links wx, directly or through the libraries it links.
function(orvane_links_wx target out)
  set(seen "")
  set(todo ${target})
  set(found FALSE)
  while(todo)
    list(POP_FRONT todo t)
    if(t IN_LIST seen OR NOT TARGET ${t})
      continue()
    endif()
    list(APPEND seen ${t})
    if(t STREQUAL "orvane_wx")
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

# kind: LIBRARY (built as the program is), TEST (not optimised) or BENCH (optimised); no debug info for the
# last two.
function(orvane_speed_up target kind)
  get_target_property(type ${target} TYPE)
  if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE|OBJECT_LIBRARY)$")
    return()
  endif()
  set(headers ${ORVANE_PCH_STD})
  orvane_links_wx(${target} gui)
  if(gui)
    list(APPEND headers ${ORVANE_PCH_WX})
  endif()
  if(kind STREQUAL "TEST")
    list(APPEND headers ${ORVANE_PCH_TEST})
    target_compile_options(${target} PRIVATE -O0 -g0)
  elseif(kind STREQUAL "BENCH")
    target_compile_options(${target} PRIVATE -g0)
  endif()
  if(NOT ORVANE_BUILD_FUZZ)
    target_precompile_headers(${target} PRIVATE ${headers})
  endif()
endfunction()

# Applies orvane_speed_up to every target a directory (not its subdirectories) defines.
function(orvane_speed_up_directory dir kind)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t ${targets})
    orvane_speed_up(${t} ${kind})
  endforeach()
endfunction()
