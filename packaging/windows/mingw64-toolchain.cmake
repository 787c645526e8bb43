# CMake toolchain file: 64-bit Windows programs cross-compiled on Debian 12 with
# mingw-w64 GCC, POSIX thread model (packages g++-mingw-w64-x86-64-posix,
# gcc-mingw-w64-x86-64-posix).  Used to build the Qt kit (build.sh) and to build
# programs against it.
#
# Programs against the kit, either
#   cmake -DCMAKE_TOOLCHAIN_FILE=<this file> -DCMAKE_PREFIX_PATH=<kit> \
#         -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake ...
# or through Qt's own wrapper toolchain, which chain-loads this file:
#   cmake -DCMAKE_TOOLCHAIN_FILE=<kit>/lib/cmake/Qt6/qt.toolchain.cmake ...

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLE}-windres)
# The "-posix" suffix hides the triple from CMake's binutils lookup: name them.
set(CMAKE_AR           ${MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       ${MINGW_TRIPLE}-ranlib CACHE FILEPATH "")
set(CMAKE_NM           ${MINGW_TRIPLE}-nm CACHE FILEPATH "")
set(CMAKE_STRIP        ${MINGW_TRIPLE}-strip CACHE FILEPATH "")
set(CMAKE_OBJDUMP      ${MINGW_TRIPLE}-objdump CACHE FILEPATH "")

# Headers, libraries and CMake packages come from the MinGW sysroot only, never
# from the Linux host; programs (moc, rcc, uic, ...) come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Prefixes handed in with -DCMAKE_PREFIX_PATH (the Qt kit) become find roots too,
# otherwise mode ONLY would re-root them under the MinGW sysroot.  CMake mangles
# a prefix that equals a root, so the prefix's lib/cmake is searched instead
# (the same workaround Qt's qt.toolchain.cmake uses).
foreach(_qorin_prefix IN LISTS CMAKE_PREFIX_PATH)
  if(NOT _qorin_prefix MATCHES "/lib/cmake/?$" AND IS_DIRECTORY "${_qorin_prefix}/lib/cmake")
    list(APPEND CMAKE_FIND_ROOT_PATH "${_qorin_prefix}")
    list(APPEND CMAKE_PREFIX_PATH "${_qorin_prefix}/lib/cmake")
  endif()
endforeach()
unset(_qorin_prefix)
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
list(REMOVE_DUPLICATES CMAKE_PREFIX_PATH)
