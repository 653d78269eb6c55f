# libspng (PNG decoding a row at a time, with limits on image size and chunk memory) and the zlib
# it inflates with. libspng is one C file, built here from the Debian source package that
# tools/setup.sh unpacks into build/thirdparty-src; zlib for MinGW comes from Debian's
# libz-mingw-w64-dev (a static libz.a in the MinGW sysroot). Alternatives at configure time:
#   -DTESSARY_LIBSPNG_SOURCE=<dir>   another libspng source tree (0.7 or later);
#   -DTESSARY_SYSTEM_SPNG=ON         an installed static libspng (MSYS2: mingw-w64-x86_64-libspng),
#                                    spng.h and libspng_static.a looked up in the usual places.
# Result: the target tessary_spng, linked with zlib.

option(TESSARY_SYSTEM_SPNG "Link an installed static libspng instead of building one" OFF)

find_path(TESSARY_ZLIB_INCLUDE zlib.h REQUIRED)
find_library(TESSARY_ZLIB_LIBRARY NAMES libz.a zlibstatic zlib z REQUIRED)
add_library(tessary_zlib STATIC IMPORTED GLOBAL)
set_target_properties(tessary_zlib PROPERTIES
    IMPORTED_LOCATION ${TESSARY_ZLIB_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${TESSARY_ZLIB_INCLUDE})

if(TESSARY_SYSTEM_SPNG)
    find_path(TESSARY_SPNG_INCLUDE spng.h REQUIRED)
    find_library(TESSARY_SPNG_LIBRARY NAMES libspng_static.a spng_static libspng.a spng REQUIRED)
    add_library(tessary_spng STATIC IMPORTED GLOBAL)
    set_target_properties(tessary_spng PROPERTIES
        IMPORTED_LOCATION ${TESSARY_SPNG_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${TESSARY_SPNG_INCLUDE}
        INTERFACE_COMPILE_DEFINITIONS SPNG_STATIC
        INTERFACE_LINK_LIBRARIES tessary_zlib)
    return()
endif()

set(TESSARY_LIBSPNG_SOURCE "" CACHE PATH "libspng source tree (empty: the one tools/setup.sh fetched)")
set(spng_src ${TESSARY_LIBSPNG_SOURCE})
if(NOT spng_src)
    file(GLOB spng_candidates LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/build/thirdparty-src/libspng-*)
    foreach(candidate ${spng_candidates})
        if(EXISTS ${candidate}/spng/spng.c)
            set(spng_src ${candidate})
        endif()
    endforeach()
endif()
if(NOT spng_src OR NOT EXISTS ${spng_src}/spng/spng.c)
    message(FATAL_ERROR
        "libspng source not found (looked for build/thirdparty-src/libspng-*/spng/spng.c).\n"
        "Run tools/setup.sh (it fetches Debian's libspng source package), or configure with "
        "-DTESSARY_LIBSPNG_SOURCE=<dir> or -DTESSARY_SYSTEM_SPNG=ON.")
endif()

# Optimised whatever the build type: it decodes every PNG of a folder.
add_library(tessary_spng STATIC ${spng_src}/spng/spng.c)
target_include_directories(tessary_spng SYSTEM PUBLIC ${spng_src}/spng)
target_compile_definitions(tessary_spng PUBLIC SPNG_STATIC)
target_compile_options(tessary_spng PRIVATE -O2 -w)
target_link_libraries(tessary_spng PUBLIC tessary_zlib)
