# The Windows build's libraries: SDL 1.2, SDL_mixer, ODE and freeglut built
# from Debian 12's own source packages (Debian's patches applied), and
# GoogleTest from the sources Debian installs, each once per user (see
# dependency-cache.cmake). They appear as the targets the Linux build gets
# from pkg-config and CMake's modules, so the core links the same way on both.
#
# SDL alone ships as a DLL, SDL.dll beside the program (LGPL); everything
# else, MinGW's C and C++ runtimes included, is linked into the program.
#
# Sets BRAMBLEWICK_WINDOWS_LICENSES, the licence files of everything the
# program and SDL.dll are made of, copied into licenses/ of the build folder
# under names of their own.
include(${CMAKE_CURRENT_LIST_DIR}/dependency-cache.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/ode.cmake)

if(NOT TOOLCHAIN_PREFIX)
  message(FATAL_ERROR "The Windows build needs its toolchain: cmake --preset windows")
endif()
set(host ${TOOLCHAIN_PREFIX})
set(jobs ${BRAMBLEWICK_DEPENDENCY_JOBS})
set(cc CC=${CMAKE_C_COMPILER})
set(cxx CXX=${CMAKE_CXX_COMPILER})
dependency_cmake_options(cmake_options ${host})
set(licenses ${PROJECT_BINARY_DIR}/licenses)
set(BRAMBLEWICK_WINDOWS_LICENSES "")

# SDL 1.2. Its stdio redirection would send the program's output to files
# instead of the console.
set(options --host=${host} ${cc} CFLAGS=-O2 --disable-static --disable-stdio-redirect)
dependency_entry(SDL NAME sdl VERSION 1.2.15+dfsg2-8 HOST ${host} OPTIONS ${options})
if(SDL_MISSING)
  dependency_debian_source(SDL PACKAGE libsdl1.2)
  dependency_step(SDL configure WORKING_DIRECTORY ${SDL_SOURCE} COMMAND ./configure --prefix=${SDL_PREFIX} ${options})
  dependency_step(SDL build WORKING_DIRECTORY ${SDL_SOURCE} COMMAND make -j${jobs})
  dependency_step(SDL install WORKING_DIRECTORY ${SDL_SOURCE} COMMAND make install DESTDIR=${SDL_STAGE})
  dependency_step(SDL strip COMMAND ${CMAKE_STRIP} --strip-unneeded ${SDL_STAGE}${SDL_PREFIX}/bin/SDL.dll)
  dependency_keep_licenses(SDL SDL COPYING)
  dependency_commit(SDL)
endif()

# SDL_mixer, only to open the audio device: no music formats, so no codec
# libraries. Static, its functions declared without SDL's dllexport, which
# would make the program export them. The library alone is built: its
# example players would need SDL's main wrapper, which Debian's sdl-config
# no longer names.
set(options --host=${host} ${cc} CFLAGS=-O2 CPPFLAGS=-DDECLSPEC= --disable-shared
  --with-sdl-prefix=${SDL_PREFIX} --disable-sdltest --disable-music-cmd --disable-music-mod --disable-music-midi
  --disable-music-timidity-midi --disable-music-native-midi --disable-music-fluidsynth-midi --disable-music-ogg
  --disable-music-flac --disable-music-mp3 --disable-smpegtest)
dependency_entry(SDL_MIXER NAME sdl-mixer VERSION 1.2.12-17 HOST ${host} OPTIONS ${options})
if(SDL_MIXER_MISSING)
  dependency_debian_source(SDL_MIXER PACKAGE sdl-mixer1.2)
  set(source ${SDL_MIXER_SOURCE})
  dependency_step(SDL_MIXER configure WORKING_DIRECTORY ${source}
    COMMAND ./configure --prefix=${SDL_MIXER_PREFIX} ${options})
  file(MAKE_DIRECTORY ${source}/build)  # made by `make all` alone, before anything is built into it
  dependency_step(SDL_MIXER build WORKING_DIRECTORY ${source} COMMAND make -j${jobs} build/libSDL_mixer.la)
  dependency_step(SDL_MIXER install WORKING_DIRECTORY ${source}
    COMMAND make install-hdrs install-lib DESTDIR=${SDL_MIXER_STAGE})
  dependency_keep_licenses(SDL_MIXER SDL_mixer COPYING)
  dependency_commit(SDL_MIXER)
endif()

# ODE, static.
build_ode(${host} ${cc} ${cxx} CFLAGS=-O2 CXXFLAGS=-O2)

# freeglut, static: only its shapes are drawn.
set(options ${cmake_options} -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON
  -DFREEGLUT_BUILD_DEMOS=OFF)
dependency_entry(FREEGLUT NAME freeglut VERSION 3.4.0-1 HOST ${host} OPTIONS ${options})
if(FREEGLUT_MISSING)
  dependency_debian_source(FREEGLUT PACKAGE freeglut)
  dependency_cmake_build(FREEGLUT ${FREEGLUT_SOURCE} ${options})
  dependency_keep_licenses(FREEGLUT freeglut COPYING)
  dependency_commit(FREEGLUT)
endif()

dependency_googletest(${host} ${cmake_options})

# The targets, named as on Linux.
add_library(SDL::SDL SHARED IMPORTED)
set_target_properties(SDL::SDL PROPERTIES
  IMPORTED_IMPLIB ${SDL_PREFIX}/lib/libSDL.dll.a
  IMPORTED_LOCATION ${SDL_PREFIX}/bin/SDL.dll
  INTERFACE_INCLUDE_DIRECTORIES ${SDL_PREFIX}/include/SDL)
add_library(SDL::mixer STATIC IMPORTED)
set_target_properties(SDL::mixer PROPERTIES
  IMPORTED_LOCATION ${SDL_MIXER_PREFIX}/lib/libSDL_mixer.a
  INTERFACE_INCLUDE_DIRECTORIES ${SDL_MIXER_PREFIX}/include/SDL
  INTERFACE_LINK_LIBRARIES SDL::SDL)
add_library(PkgConfig::SDL INTERFACE IMPORTED)
set_target_properties(PkgConfig::SDL PROPERTIES INTERFACE_LINK_LIBRARIES "SDL::mixer;SDL::SDL")

# SDL's main wrapper, for the programs with a main() of their own (SDL.h
# renames it SDL_main): MinGW's main() calls SDL's WinMain(), which sets SDL
# up for Windows and calls SDL_main(); hence MinGW's library first. A console
# program, so standard output and standard error are the console's.
add_library(SDL::main INTERFACE IMPORTED)
set_target_properties(SDL::main PROPERTIES
  INTERFACE_LINK_LIBRARIES "mingw32;${SDL_PREFIX}/lib/libSDLmain.a;SDL::SDL"
  INTERFACE_LINK_OPTIONS -mconsole)

add_library(GLUT::GLUT STATIC IMPORTED)
set_target_properties(GLUT::GLUT PROPERTIES
  IMPORTED_LOCATION ${FREEGLUT_PREFIX}/lib/libfreeglut_static.a
  INTERFACE_INCLUDE_DIRECTORIES ${FREEGLUT_PREFIX}/include
  INTERFACE_COMPILE_DEFINITIONS FREEGLUT_STATIC
  INTERFACE_LINK_LIBRARIES "OpenGL::GLU;OpenGL::GL;winmm;gdi32")

# MinGW's C and C++ runtimes and its threads linked in: the program needs no
# DLL of theirs. SDL's import library is named by its path, so SDL stays a DLL.
add_link_options(-static)
# <cmath> names M_PI and its kin only when asked to, and <windows.h>, which
# MinGW's <GL/gl.h> includes, must not define min and max as macros.
add_compile_definitions(_USE_MATH_DEFINES NOMINMAX)
# Every program beside SDL.dll, where Windows looks for it first.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
configure_file(${SDL_PREFIX}/bin/SDL.dll ${PROJECT_BINARY_DIR}/SDL.dll COPYONLY)
# Test programs built here cannot run here: their tests are listed when ctest runs.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# The licences, and the notices of MinGW's runtime: its C runtime and
# winpthreads (mingw-w64), libgcc and libstdc++ (GCC).
file(GLOB library_licenses ${SDL_PREFIX}/licenses/* ${SDL_MIXER_PREFIX}/licenses/* ${ODE_PREFIX}/licenses/*
  ${FREEGLUT_PREFIX}/licenses/*)
file(MAKE_DIRECTORY ${licenses})
foreach(file ${library_licenses})
  get_filename_component(name ${file} NAME)
  configure_file(${file} ${licenses}/${name} COPYONLY)
  list(APPEND BRAMBLEWICK_WINDOWS_LICENSES ${licenses}/${name})
endforeach()
foreach(package mingw-w64-common gcc-mingw-w64-base)
  configure_file(/usr/share/doc/${package}/copyright ${licenses}/${package}-copyright COPYONLY)
  list(APPEND BRAMBLEWICK_WINDOWS_LICENSES ${licenses}/${package}-copyright)
endforeach()
