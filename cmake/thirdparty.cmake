# Third-party code linked into the Windows build: libjpeg-turbo (static TurboJPEG library with its
# SIMD code), for fast scaled JPEG decoding and JPEG encoding at an exact quality; libwebp (with its
# demux library), for WebP, which GDI+ does not read.
#
# By default both are built here from the Debian source packages that tools/setup.sh unpacks into
# build/thirdparty-src. Alternatives for libjpeg-turbo, chosen at configure time:
#   -DTESSARY_LIBJPEG_TURBO_SOURCE=<dir>   another libjpeg-turbo source tree (2.1 or later);
#   -DTESSARY_SYSTEM_TURBOJPEG=ON          an installed static libjpeg-turbo, for example MSYS2's
#                                          (pacman -S mingw-w64-x86_64-libjpeg-turbo on Windows);
#                                          turbojpeg.h, jpeglib.h, jconfig.h and libturbojpeg.a are
#                                          then looked up in the usual places (add
#                                          -DCMAKE_PREFIX_PATH=C:/msys64/mingw64).
# and for libwebp:
#   -DTESSARY_LIBWEBP_SOURCE=<dir>         another libwebp source tree (1.2 or later);
#   -DTESSARY_SYSTEM_LIBWEBP=ON            installed static libwebp and libwebpdemux (MSYS2:
#                                          mingw-w64-x86_64-libwebp).
# Either way the result is TESSARY_THIRDPARTY_LIBS, which the top-level file links into tessary_win.
# libspng and zlib: see thirdparty-spng.cmake.

# A library built by its own CMake run gets this build's compiler launcher (ccache) and toolchain.
function(tessary_forward_toolchain args_var)
    set(args ${${args_var}})
    if(CMAKE_C_COMPILER_LAUNCHER)
        list(APPEND args -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER})
    endif()
    if(CMAKE_TOOLCHAIN_FILE)
        list(APPEND args -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
    endif()
    set(${args_var} ${args} PARENT_SCOPE)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/thirdparty-spng.cmake)

option(TESSARY_SYSTEM_TURBOJPEG "Link an installed static TurboJPEG library instead of building one" OFF)

if(TESSARY_SYSTEM_TURBOJPEG)
    find_path(TESSARY_TURBOJPEG_INCLUDE turbojpeg.h REQUIRED)
    find_library(TESSARY_TURBOJPEG_LIBRARY NAMES libturbojpeg.a turbojpeg-static turbojpeg REQUIRED)
    add_library(tessary_turbojpeg STATIC IMPORTED GLOBAL)
    set_target_properties(tessary_turbojpeg PROPERTIES
        IMPORTED_LOCATION ${TESSARY_TURBOJPEG_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${TESSARY_TURBOJPEG_INCLUDE})
else()
    include(${CMAKE_CURRENT_LIST_DIR}/thirdparty-turbojpeg.cmake)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/thirdparty-webp.cmake)
set(TESSARY_THIRDPARTY_LIBS tessary_turbojpeg tessary_webpdemux tessary_webp tessary_spng)

