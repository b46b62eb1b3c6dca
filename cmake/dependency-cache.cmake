# Libraries built once from source and kept per user, for every clone and
# build folder of the project to share:
#
#   ${XDG_CACHE_HOME:-~/.cache}/bramblewick/
#     apt/                             a private index of Debian's source packages
#     HOST/NAME-VERSION-HASH/          one installed library: include/ lib/ bin/ licenses/
#
# VERSION is the Debian package's, less any epoch; HASH is the start of the
# SHA-256 of the whole version, the compiler and the build options, so a
# library is built again when any of them changes, and kept beside the old one.
# An entry is built in a work folder beside it and renamed into place once it
# is whole: a build that fails or is stopped leaves nothing to reuse. A lock
# per entry lets two configures share the cache.
#
#   dependency_entry(VAR NAME n VERSION v HOST h OPTIONS ...)
#   if(VAR_MISSING)
#     dependency_debian_source(VAR PACKAGE p)    # version v; or a source folder of its own
#     dependency_step(VAR "what" [WORKING_DIRECTORY d] COMMAND ...)...
#     dependency_commit(VAR)                     # install into ${VAR_STAGE}${VAR_PREFIX}
#   endif()
#   ... ${VAR_PREFIX}
#
# For libraries that build with CMake: dependency_cmake_options gives the
# options that carry this build's toolchain to them, dependency_cmake_build
# configures, builds and stages one; dependency_googletest does all of it for
# GoogleTest.

if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(default_cache "$ENV{XDG_CACHE_HOME}/bramblewick")
else()
  set(default_cache "$ENV{HOME}/.cache/bramblewick")
endif()
set(BRAMBLEWICK_DEPENDENCY_CACHE "${default_cache}" CACHE PATH "Where the libraries built from source are kept")
unset(default_cache)
set(BRAMBLEWICK_DEPENDENCY_JOBS 2)

# Sets VAR_PREFIX, where the library is or will be installed, and, when it is
# not there yet, VAR_MISSING and the folders to build it in: VAR_WORK for
# the sources and the build, VAR_STAGE for `make install DESTDIR=`.
function(dependency_entry var)
  cmake_parse_arguments(ARG "" "NAME;VERSION;HOST" "OPTIONS" ${ARGN})
  set(compiler "${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION}")
  if(BRAMBLEWICK_DEPENDENCY_COMPILER)  # where the compiler's version does not say it all
    string(APPEND compiler " ${BRAMBLEWICK_DEPENDENCY_COMPILER}")
  endif()
  string(SHA256 hash "${ARG_VERSION} ${ARG_HOST} ${compiler};${ARG_OPTIONS}")
  string(SUBSTRING ${hash} 0 8 hash)
  string(REGEX REPLACE "^[0-9]+:" "" version ${ARG_VERSION})
  set(entry ${ARG_NAME}-${version}-${hash})
  set(folder ${BRAMBLEWICK_DEPENDENCY_CACHE}/${ARG_HOST})
  set(prefix ${folder}/${entry})
  set(${var}_PREFIX ${prefix} PARENT_SCOPE)
  if(EXISTS ${prefix})
    return()
  endif()

  file(MAKE_DIRECTORY ${folder})
  file(LOCK ${folder}/.${entry}.lock)
  if(EXISTS ${prefix})  # built by another configure while this one waited
    file(LOCK ${folder}/.${entry}.lock RELEASE)
    return()
  endif()
  message(NOTICE "Building ${ARG_NAME} ${ARG_VERSION} for ${ARG_HOST} into ${prefix} (once; it takes a while)")
  set(work ${folder}/.${entry}.work)
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work})
  file(WRITE ${work}/build.log "")
  string(REPLACE ";" " " options "${ARG_OPTIONS}")
  file(WRITE ${work}/stage${prefix}/build-options.txt "${ARG_NAME} ${ARG_VERSION} for ${ARG_HOST}\n${options}\n")
  set(${var}_MISSING TRUE PARENT_SCOPE)
  set(${var}_NAME ${ARG_NAME} PARENT_SCOPE)
  set(${var}_VERSION ${ARG_VERSION} PARENT_SCOPE)
  set(${var}_LOCK ${folder}/.${entry}.lock PARENT_SCOPE)
  set(${var}_WORK ${work} PARENT_SCOPE)
  set(${var}_STAGE ${work}/stage PARENT_SCOPE)
endfunction()

# Fetches the Debian source package of VAR's version through apt, so that
# every file is checked against the archive's signed index, and unpacks it
# with Debian's patches applied into VAR_SOURCE. The index is that of this
# machine's own Debian archive, read for its source packages into a private
# folder: the system's apt configuration and state stay untouched.
function(dependency_debian_source var)
  cmake_parse_arguments(ARG "" "PACKAGE" "" ${ARGN})
  set(version ${${var}_VERSION})
  set(apt ${BRAMBLEWICK_DEPENDENCY_CACHE}/apt)
  set(system_sources /etc/apt/sources.list.d/debian.sources)
  if(NOT EXISTS ${system_sources})
    message(FATAL_ERROR "Cannot fetch the Debian source package ${ARG_PACKAGE}: ${system_sources} is missing")
  endif()
  file(READ ${system_sources} sources)
  string(REGEX REPLACE "(^|\n)Types:[^\n]*" "\\1Types: deb-src" sources "${sources}")
  file(MAKE_DIRECTORY ${apt}/sources ${apt}/lists/partial ${apt}/cache/archives/partial)
  file(WRITE ${apt}/sources/debian.sources "${sources}")
  # Updating this index runs none of the hooks the system's index runs.
  file(WRITE ${apt}/apt.conf "#clear APT::Update::Pre-Invoke;\n#clear APT::Update::Post-Invoke;\n"
                             "#clear APT::Update::Post-Invoke-Success;\n")
  set(apt_get apt-get -q -c ${apt}/apt.conf
    -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=${apt}/sources
    -o Dir::State::Lists=${apt}/lists -o Dir::Cache=${apt}/cache
    # As root apt downloads as the user _apt, who may not write here.
    -o APT::Sandbox::User=root)

  file(LOCK ${apt}.lock)
  get_property(updated GLOBAL PROPERTY dependency_apt_updated)
  if(NOT updated)
    execute_process(COMMAND ${apt_get} update RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE errors)
    if(failed)
      message(FATAL_ERROR "Cannot fetch the Debian source package ${ARG_PACKAGE}: apt-get update failed:\n${errors}")
    endif()
    set_property(GLOBAL PROPERTY dependency_apt_updated TRUE)
  endif()
  set(download ${${var}_WORK}/download)
  file(MAKE_DIRECTORY ${download})
  execute_process(COMMAND ${apt_get} source --download-only ${ARG_PACKAGE}=${version}
    WORKING_DIRECTORY ${download} RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE errors)
  file(LOCK ${apt}.lock RELEASE)
  if(failed)
    message(FATAL_ERROR "Cannot fetch the Debian source package ${ARG_PACKAGE} ${version}:\n${errors}")
  endif()

  file(GLOB dsc ${download}/*.dsc)
  set(source ${${var}_WORK}/source)
  dependency_step(${var} "unpack ${ARG_PACKAGE}" COMMAND dpkg-source -x ${dsc} ${source})
  set(${var}_SOURCE ${source} PARENT_SCOPE)
endfunction()

# Runs one step of the build, its output kept in the work folder's build.log.
# The environment is the user's less what would steer a build for this
# machine instead of the target: host pkg-config files and make's flags.
function(dependency_step var what)
  cmake_parse_arguments(ARG "" "WORKING_DIRECTORY" "COMMAND" ${ARGN})
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY ${${var}_WORK})
  endif()
  set(log ${${var}_WORK}/build.log)
  file(APPEND ${log} "== ${what}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env
      --unset=MAKEFLAGS --unset=MFLAGS --unset=CPPFLAGS --unset=LDFLAGS --unset=PKG_CONFIG_PATH
      PKG_CONFIG_LIBDIR=${${var}_WORK}/no-pkgconfig ${ARG_COMMAND}
    WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY} RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
  file(APPEND ${log} "${output}")
  if(failed)
    string(LENGTH "${output}" length)
    if(length GREATER 3000)
      math(EXPR start "${length} - 3000")
      string(SUBSTRING "${output}" ${start} -1 output)
    endif()
    message(FATAL_ERROR "Building ${${var}_NAME} failed at: ${what}\n...${output}\nThe whole log: ${log}")
  endif()
endfunction()

# Moves the staged installation into its place in the cache, whole.
function(dependency_commit var)
  set(prefix ${${var}_PREFIX})
  file(GLOB_RECURSE libtool_archives ${${var}_STAGE}${prefix}/*.la)  # they name the build's folders
  if(libtool_archives)
    file(REMOVE ${libtool_archives})
  endif()
  file(RENAME ${${var}_STAGE}${prefix} ${prefix})
  file(REMOVE_RECURSE ${${var}_WORK})
  file(LOCK ${${var}_LOCK} RELEASE)
endfunction()

# Copies a library's licence files into its entry, as licenses/LIBRARY-FILE.
function(dependency_keep_licenses var library)
  set(folder ${${var}_STAGE}${${var}_PREFIX}/licenses)
  file(MAKE_DIRECTORY ${folder})
  foreach(file ${ARGN})
    get_filename_component(name ${file} NAME)
    file(COPY_FILE ${${var}_SOURCE}/${file} ${folder}/${library}-${name})
  endforeach()
endfunction()

# Sets VAR to the options that build a CMake library for HOST with this
# build's toolchain. The libraries read it from a copy in the cache named by
# its contents: their keys then change with the toolchain, not with where the
# checkout lies.
function(dependency_cmake_options var host)
  file(SHA256 ${CMAKE_TOOLCHAIN_FILE} toolchain)
  string(SUBSTRING ${toolchain} 0 8 toolchain)
  set(toolchain ${BRAMBLEWICK_DEPENDENCY_CACHE}/${host}/toolchain-${toolchain}.cmake)
  if(NOT EXISTS ${toolchain})
    file(MAKE_DIRECTORY ${BRAMBLEWICK_DEPENDENCY_CACHE}/${host})
    file(COPY_FILE ${CMAKE_TOOLCHAIN_FILE} ${toolchain}.new)
    file(RENAME ${toolchain}.new ${toolchain})
  endif()
  set(${var} -DCMAKE_TOOLCHAIN_FILE=${toolchain} -DCMAKE_BUILD_TYPE=Release PARENT_SCOPE)
endfunction()

# Configures, builds and stages a library that builds with CMake.
function(dependency_cmake_build var source)
  set(build ${${var}_WORK}/build)
  dependency_step(${var} configure
    COMMAND ${CMAKE_COMMAND} -S ${source} -B ${build} -DCMAKE_INSTALL_PREFIX=${${var}_PREFIX} ${ARGN})
  dependency_step(${var} build COMMAND ${CMAKE_COMMAND} --build ${build} -j ${BRAMBLEWICK_DEPENDENCY_JOBS})
  dependency_step(${var} install COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${${var}_STAGE}
    ${CMAKE_COMMAND} --install ${build})
endfunction()

# GoogleTest and GoogleMock for the tests, from the sources of Debian's
# googletest package, with the CMake package files find_package(GTest) reads.
macro(dependency_googletest host)
  set(googletest /usr/src/googletest)
  execute_process(COMMAND dpkg-query -W -f=\${Version} googletest OUTPUT_VARIABLE version ERROR_QUIET)
  if(EXISTS ${googletest}/CMakeLists.txt AND version)
    set(options ${ARGN} -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON)
    dependency_entry(GTEST NAME googletest VERSION ${version} HOST ${host} OPTIONS ${options})
    if(GTEST_MISSING)
      dependency_cmake_build(GTEST ${googletest} ${options})
      dependency_commit(GTEST)
    endif()
    list(APPEND CMAKE_FIND_ROOT_PATH ${GTEST_PREFIX})
  else()
    message(STATUS "No GoogleTest for ${host}: Debian's googletest package is not installed")
  endif()
endmacro()
