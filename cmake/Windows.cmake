# Settings of the Windows cross-build (cmake/toolchain-mingw64.cmake), included
# by the top-level CMakeLists in place of the Linux GL and window-system lookup.

# The plug-ins link the system's OpenGL32.dll for the OpenGL 1.1 functions; the
# target carries the Linux build's name so the library CMakeLists stay as they are.
if(NOT TARGET OpenGL::OpenGL)
  add_library(OpenGL::OpenGL INTERFACE IMPORTED)
  set_target_properties(OpenGL::OpenGL PROPERTIES INTERFACE_LINK_LIBRARIES opengl32)
endif()

# Libraries and test programs side by side, so that a test finds the plug-ins
# by their bare file names under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The C++ runtime, libgcc and winpthread go into each binary: the plug-ins may
# then import nothing but system DLLs.
add_link_options(-static -static-libgcc -static-libstdc++)
# JUCE's graphics module has more sections than the default object format allows.
add_compile_options(-Wa,-mbig-obj)
# Static archives only: an import library (libz.dll.a) would tie a plug-in to a
# DLL that hosts do not ship.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
