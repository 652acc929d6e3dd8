# GUI tests: one ctest entry per test suite of an executable, so that one start of wx serves all of a
# suite's cases, and each entry runs under an X server of its own, so that entries run side by side.
# The suites are read from the sources; a check (GuiSuitesRegistered) compares them with what the
# executable lists, so a suite the reading misses fails the run instead of going untested.

set(ORVANE_GUI_TEST_RUNNER ${PROJECT_SOURCE_DIR}/tests/support/run-with-own-display)
set(ORVANE_LSAN_ENV "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizer/lsan.supp:print_suppressions=0")

function(orvane_gui_test_suites target out)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(suites "")
  foreach(src ${sources})
    get_filename_component(path ${src} ABSOLUTE BASE_DIR ${source_dir})
    if(NOT path MATCHES "\\.cpp$")
      continue()
    endif()
    # A new suite in a file must reach ctest without a manual reconfigure.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    file(STRINGS ${path} lines REGEX "^[ \t]*(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)[ \t]*\\([ \t]*[A-Za-z_]")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*[A-Z_]+[ \t]*\\([ \t]*([A-Za-z0-9_]+).*$" "\\1" suite "${line}")
      list(APPEND suites ${suite})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  set(${out} ${suites} PARENT_SCOPE)
endfunction()

function(orvane_add_gui_tests target)
  orvane_gui_test_suites(${target} suites)
  foreach(suite ${suites})
    set(name ${suite})
    if(TEST ${name})
      set(name ${target}.${suite})
    endif()
    add_test(NAME ${name}
             COMMAND ${ORVANE_GUI_TEST_RUNNER} $<TARGET_FILE:${target}> "--gtest_filter=${suite}.*:*/${suite}.*"
                     --gtest_color=no)
    set_tests_properties(${name} PROPERTIES LABELS gui ENVIRONMENT "${ORVANE_LSAN_ENV}")
  endforeach()
  # A list cannot pass through add_test whole: its ';' would split the argument.
  string(REPLACE ";" "," suite_text "${suites}")
  add_test(NAME GuiSuitesRegistered.${target}
           COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:${target}> -DSUITES=${suite_text}
                   -P ${PROJECT_SOURCE_DIR}/cmake/CheckGuiSuites.cmake)
endfunction()
