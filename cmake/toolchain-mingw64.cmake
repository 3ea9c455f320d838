# Cross-builds for Windows x86-64 with MinGW-w64 (posix thread model: JUCE needs
# std::thread), running the test programs through Wine.
#
# ZM_WINDOWS_DEPS names the prefix made by scripts/install-windows-deps.sh; its
# pkg-config files are the only ones found, so nothing of the Linux host leaks in.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZM_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZM_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZM_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${ZM_MINGW_HOST}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZM_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT ZM_WINDOWS_DEPS)
  if(DEFINED ENV{ZM_WINDOWS_DEPS})
    set(ZM_WINDOWS_DEPS $ENV{ZM_WINDOWS_DEPS})
  else()
    get_filename_component(ZM_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps ABSOLUTE)
  endif()
endif()
set(ZM_WINDOWS_DEPS ${ZM_WINDOWS_DEPS} CACHE PATH "Prefix of the cross-built Windows libraries")
list(APPEND CMAKE_FIND_ROOT_PATH ${ZM_WINDOWS_DEPS})
# try_compile runs in a fresh project that must see the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZM_WINDOWS_DEPS)

set(ENV{PKG_CONFIG_LIBDIR} "${ZM_WINDOWS_DEPS}/lib/pkgconfig:/usr/${ZM_MINGW_HOST}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Everything linked statically: the libraries then import only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

find_program(ZM_WINE64 NAMES wine64 wine)
if(ZM_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZM_WINE64})
endif()
