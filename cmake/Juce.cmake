# JUCE core, events and graphics from Debian's module sources, compiled once into
# a static library of ours. Hidden visibility keeps every JUCE symbol out of the
# plug-ins' export tables.
set(ZM_JUCE_MODULES_DIR /usr/share/juce/modules CACHE PATH "JUCE module sources")
if(NOT EXISTS ${ZM_JUCE_MODULES_DIR}/juce_core/juce_core.cpp)
  message(FATAL_ERROR "JUCE modules not found in ${ZM_JUCE_MODULES_DIR}: run scripts/install-deps.sh")
endif()

if(WIN32)
  # Windows draws text through the system, not FreeType.
  pkg_check_modules(ZM_JUCE_DEPS REQUIRED IMPORTED_TARGET libpng libjpeg zlib)
else()
  pkg_check_modules(ZM_JUCE_DEPS REQUIRED IMPORTED_TARGET freetype2 libpng libjpeg zlib)
endif()

add_library(zm_juce STATIC
  ${ZM_JUCE_MODULES_DIR}/juce_core/juce_core.cpp
  ${ZM_JUCE_MODULES_DIR}/juce_events/juce_events.cpp
  ${ZM_JUCE_MODULES_DIR}/juce_graphics/juce_graphics.cpp)
target_include_directories(zm_juce SYSTEM PUBLIC ${ZM_JUCE_MODULES_DIR})
target_compile_definitions(zm_juce PUBLIC
  JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
  JUCE_STANDALONE_APPLICATION=0
  JUCE_USE_CURL=0
  JUCE_WEB_BROWSER=0
  JUCE_DISABLE_JUCE_VERSION_PRINTING=1
  JUCE_MODULE_AVAILABLE_juce_core=1
  JUCE_MODULE_AVAILABLE_juce_events=1
  JUCE_MODULE_AVAILABLE_juce_graphics=1
  $<IF:$<CONFIG:Debug>,DEBUG=1;_DEBUG=1,NDEBUG=1>)
target_compile_options(zm_juce PRIVATE -w)
target_link_libraries(zm_juce PUBLIC PkgConfig::ZM_JUCE_DEPS Threads::Threads ${CMAKE_DL_LIBS})
if(WIN32)
  target_link_libraries(zm_juce PUBLIC
    kernel32 user32 gdi32 comdlg32 ole32 oleaut32 shell32 shlwapi uuid version winmm
    wininet ws2_32 imm32 rpcrt4 dwrite d2d1 dxgi d3d11 iphlpapi)
endif()
