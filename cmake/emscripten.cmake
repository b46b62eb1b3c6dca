# Builds for the browser with Debian's Emscripten: WebAssembly and the
# JavaScript that loads it, drawn through WebGL.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake ...
#
# Debian's emcc runs its JavaScript tools on the system's Node, which looks
# for Debian's own modules (acorn, for the optimiser) only where NODE_PATH
# says, and on whatever python3 comes first unless told which. Every call of
# the compiler and the linker, here and in the libraries built for it, gets
# both.
set(BRAMBLEWICK_EMSCRIPTEN_ENV NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3)
foreach(setting ${BRAMBLEWICK_EMSCRIPTEN_ENV})
  string(REGEX MATCH "^[^=]+" name ${setting})
  string(REGEX REPLACE "^[^=]+=" "" value ${setting})
  set(ENV{${name}} ${value})
endforeach()
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
foreach(launcher CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_LINKER_LAUNCHER
    CMAKE_CXX_LINKER_LAUNCHER)
  set(${launcher} ${CMAKE_COMMAND} -E env ${BRAMBLEWICK_EMSCRIPTEN_ENV})
endforeach()
