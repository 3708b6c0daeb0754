# Imported targets for the libraries that tools/setup.sh cross-built into DEPS_PREFIX.
find_package(PkgConfig REQUIRED)
set(ENV{PKG_CONFIG_LIBDIR} "${DEPS_PREFIX}/lib/pkgconfig:/usr/x86_64-w64-mingw32/lib/pkgconfig")
unset(ENV{PKG_CONFIG_PATH})
set(PKG_CONFIG_USE_CMAKE_PREFIX_PATH OFF)

function(lark_pkg name)
  pkg_check_modules(${name} REQUIRED IMPORTED_TARGET GLOBAL ${ARGN})
  # Static consumers need the private dependencies as well.
  set_property(TARGET PkgConfig::${name} APPEND PROPERTY INTERFACE_LINK_LIBRARIES ${${name}_STATIC_LIBRARIES})
  set_property(TARGET PkgConfig::${name} APPEND PROPERTY INTERFACE_LINK_DIRECTORIES ${${name}_STATIC_LIBRARY_DIRS})
endfunction()

lark_pkg(SQLITE sqlite3)
lark_pkg(ID3TAG id3tag)
lark_pkg(FLAC flac)
lark_pkg(VORBIS vorbisfile vorbis ogg)
lark_pkg(TAGLIB taglib)
lark_pkg(FFMPEG libavformat libavcodec libswresample libavutil)

find_package(GTest REQUIRED CONFIG PATHS ${DEPS_PREFIX} NO_DEFAULT_PATH)
