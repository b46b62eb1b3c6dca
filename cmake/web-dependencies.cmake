# The browser build's libraries. ODE is built from Debian 12's own source
# package and GoogleTest from the sources Debian installs, each once per user
# (see dependency-cache.cmake). SDL 1.2 and SDL_mixer are Emscripten's own,
# in JavaScript; OpenGL, GLU and GLUT are the page's own subset over WebGL
# (src/platform/web). They appear as the targets the Linux build gets from
# pkg-config and CMake's modules, so the core links the same way everywhere.
#
# Sets BRAMBLEWICK_WEB_LICENSES, the licence files of what the page is made
# of besides the program, copied into licenses/ of the build folder.
include(${CMAKE_CURRENT_LIST_DIR}/dependency-cache.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/ode.cmake)

set(host wasm32-unknown-emscripten)
# The compiler's own version is Clang's: Emscripten's, whose runtime and
# system libraries go into every library, is part of each key.
execute_process(COMMAND dpkg-query -W -f=\${Version} emscripten OUTPUT_VARIABLE emscripten ERROR_QUIET)
if(NOT emscripten)
  message(FATAL_ERROR "The browser build needs Debian's emscripten package: make web installs it")
endif()
set(BRAMBLEWICK_DEPENDENCY_COMPILER "emscripten ${emscripten}")
build_ode(${host} CONFIGURE_WITH emconfigure CFLAGS=-O3 CXXFLAGS=-O3)
dependency_cmake_options(cmake_options ${host})
dependency_googletest(${host} ${cmake_options})

# The browser tests' driver, puppeteer-core, as package-lock.json pins it, in node_modules/ of the tree; again only
# when the lock changes.
set(installed ${PROJECT_SOURCE_DIR}/node_modules/.package-lock.json)
if(BRAMBLEWICK_TESTS AND (NOT EXISTS ${installed} OR ${PROJECT_SOURCE_DIR}/package-lock.json IS_NEWER_THAN ${installed}))
  execute_process(COMMAND npm ci --no-audit --no-fund --loglevel=error WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    RESULT_VARIABLE failed OUTPUT_QUIET)
  if(failed)
    message(FATAL_ERROR "npm could not install the browser tests' driver (npm ci in ${PROJECT_SOURCE_DIR})")
  endif()
endif()

add_library(PkgConfig::SDL INTERFACE IMPORTED)
set_target_properties(PkgConfig::SDL PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${EMSCRIPTEN_SYSROOT}/include/SDL)
add_library(OpenGL::GL INTERFACE IMPORTED)
add_library(OpenGL::GLU INTERFACE IMPORTED)
add_library(GLUT::GLUT INTERFACE IMPORTED)

set(licenses ${PROJECT_BINARY_DIR}/licenses)
file(GLOB library_licenses ${ODE_PREFIX}/licenses/*)
file(MAKE_DIRECTORY ${licenses})
set(BRAMBLEWICK_WEB_LICENSES "")
foreach(file ${library_licenses})
  get_filename_component(name ${file} NAME)
  configure_file(${file} ${licenses}/${name} COPYONLY)
  list(APPEND BRAMBLEWICK_WEB_LICENSES ${licenses}/${name})
endforeach()
configure_file(/usr/share/doc/emscripten/copyright ${licenses}/emscripten-copyright COPYONLY)
list(APPEND BRAMBLEWICK_WEB_LICENSES ${licenses}/emscripten-copyright)

# Every program beside the page, which loads any of them by name (index.html?program=unit_tests).
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
