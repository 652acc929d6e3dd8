# Each outside package is found once here and offered as an interface target, so that only the
# targets that link one see its include paths and definitions.

find_package(Threads REQUIRED)
find_package(CURL REQUIRED)

find_package(wxWidgets 3.2 REQUIRED COMPONENTS gl aui richtext html xml adv core base)
add_library(orvane_wx INTERFACE)
target_include_directories(orvane_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(orvane_wx INTERFACE ${wxWidgets_DEFINITIONS})
target_compile_options(orvane_wx INTERFACE ${wxWidgets_CXX_FLAGS})
target_link_libraries(orvane_wx INTERFACE ${wxWidgets_LIBRARIES})

set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
add_library(orvane_gl INTERFACE)
target_link_libraries(orvane_gl INTERFACE OpenGL::GL OpenGL::GLU)

find_package(PkgConfig REQUIRED)
pkg_check_modules(FTGL REQUIRED IMPORTED_TARGET ftgl)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
find_path(FREEIMAGE_INCLUDE_DIR FreeImage.h REQUIRED)
find_library(FREEIMAGE_LIBRARY freeimage REQUIRED)
add_library(orvane_freeimage INTERFACE)
target_include_directories(orvane_freeimage SYSTEM INTERFACE ${FREEIMAGE_INCLUDE_DIR})
target_link_libraries(orvane_freeimage INTERFACE ${FREEIMAGE_LIBRARY})

if(ORVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
if(ORVANE_BUILD_BENCH)
  find_package(benchmark REQUIRED)
endif()
# The reference hull that tests and benchmarks compare ours with; the program never links it.
if(ORVANE_BUILD_TESTS OR ORVANE_BUILD_BENCH)
  find_package(Qhull REQUIRED)
endif()
