# ODE for a platform that has no package of it: Debian's source package,
# built as Debian builds it (double precision, the libccd colliders, OPCODE
# for triangle meshes, its error checks on), once per user (see
# dependency-cache.cmake). Static, with the bundled copy of libccd in place of
# Debian's package, and without the built-in thread pool, which the sandbox
# never uses and whose Windows source does not build with MinGW on a
# case-sensitive file system (it includes <Windows.h>).
#
#   build_ode(HOST [CONFIGURE_WITH WRAPPER] SETTINGS...)
#
# sets ODE_PREFIX and makes the target PkgConfig::ODE, as Linux's pkg-config
# gives it. SETTINGS name the compilers and flags, as CC=... CFLAGS=...;
# WRAPPER runs the configure script, where the compiler needs one
# (emconfigure).
#
# The source's own config.sub predates some hosts (WebAssembly): the one
# Debian keeps current in autotools-dev replaces it, as Debian's own builds
# do with dh_update_autotools_config.
macro(build_ode host)
  cmake_parse_arguments(ODE_BUILD "" "CONFIGURE_WITH" "" ${ARGN})
  set(options --host=${host} ${ODE_BUILD_UNPARSED_ARGUMENTS} --disable-shared --enable-double-precision
    --enable-libccd --with-libccd=internal --with-trimesh=opcode --disable-builtin-threading-impl --disable-demos
    --with-drawstuff=none)
  dependency_entry(ODE NAME ode VERSION 2:0.16.2-1 HOST ${host} OPTIONS ${options})
  if(ODE_MISSING)
    dependency_debian_source(ODE PACKAGE ode)
    foreach(script config.sub config.guess)
      file(COPY_FILE /usr/share/misc/${script} ${ODE_SOURCE}/${script})
    endforeach()
    dependency_step(ODE configure WORKING_DIRECTORY ${ODE_SOURCE}
      COMMAND ${ODE_BUILD_CONFIGURE_WITH} ./configure --prefix=${ODE_PREFIX} ${options})
    dependency_step(ODE build WORKING_DIRECTORY ${ODE_SOURCE} COMMAND make -j${BRAMBLEWICK_DEPENDENCY_JOBS})
    dependency_step(ODE install WORKING_DIRECTORY ${ODE_SOURCE} COMMAND make install DESTDIR=${ODE_STAGE})
    dependency_keep_licenses(ODE ODE LICENSE-BSD.TXT)
    dependency_keep_licenses(ODE ODE-OPCODE OPCODE/COPYING)
    dependency_keep_licenses(ODE ODE-libccd libccd/BSD-LICENSE)
    dependency_keep_licenses(ODE ODE-OU ou/LICENSE-BSD.TXT)
    dependency_commit(ODE)
  endif()
  # The library ODE's pkg-config file names.
  file(STRINGS ${ODE_PREFIX}/lib/pkgconfig/ode.pc ode_libs REGEX "^Libs:")
  string(REGEX MATCH "-l([^ ]+)" ode_libs "${ode_libs}")
  add_library(PkgConfig::ODE STATIC IMPORTED)
  set_target_properties(PkgConfig::ODE PROPERTIES
    IMPORTED_LOCATION ${ODE_PREFIX}/lib/lib${CMAKE_MATCH_1}.a
    INTERFACE_INCLUDE_DIRECTORIES ${ODE_PREFIX}/include)
endmacro()
