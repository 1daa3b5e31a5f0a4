# Cross-compiling for 64-bit Windows with mingw-w64 (posix threads variant).
# Static libpng, libjpeg-turbo and GoogleTest come from scripts/build-mingw-deps.sh,
# found under build/mingw-deps (a link to the per-user cache the script fills)
# unless PALLO_MINGW_DEPS names another prefix.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PALLO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PALLO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PALLO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PALLO_MINGW_TRIPLE}-windres)

if(NOT PALLO_MINGW_DEPS)
  if(DEFINED ENV{PALLO_MINGW_DEPS})
    set(PALLO_MINGW_DEPS "$ENV{PALLO_MINGW_DEPS}")
  else()
    get_filename_component(PALLO_MINGW_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/mingw-deps" ABSOLUTE)
  endif()
endif()
# try_compile projects re-read this file; pass the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PALLO_MINGW_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${PALLO_MINGW_TRIPLE} ${PALLO_MINGW_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The program must need no DLL beside it. CMake's Windows platform files prefer
# import libraries (.dll.a) after this file is read, so the static zlib archive
# is named outright (libpng needs it; FindZLIB would take libz.dll.a).
set(ZLIB_LIBRARY /usr/${PALLO_MINGW_TRIPLE}/lib/libz.a CACHE FILEPATH "Static zlib for mingw" FORCE)
set(ZLIB_LIBRARY_RELEASE /usr/${PALLO_MINGW_TRIPLE}/lib/libz.a CACHE FILEPATH "Static zlib for mingw" FORCE)
set(ZLIB_INCLUDE_DIR /usr/${PALLO_MINGW_TRIPLE}/include CACHE PATH "zlib headers for mingw" FORCE)

# Test programs run through Wine when CTest starts them (the "windows" preset
# sets the same; this covers a configure without the preset).
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()

# Every executable (program, tests, helpers) links its runtime statically, so
# none needs libstdc++, libgcc or winpthread DLLs beside it under Wine or Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
