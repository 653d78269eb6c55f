# libwebp and its demux library (animated files), static: see thirdparty.cmake for the options.
option(TESSARY_SYSTEM_LIBWEBP "Link installed static libwebp and libwebpdemux instead of building them" OFF)

if(TESSARY_SYSTEM_LIBWEBP)
    find_path(TESSARY_WEBP_INCLUDE webp/decode.h REQUIRED)
    find_library(TESSARY_WEBP_LIBRARY NAMES libwebp.a webp REQUIRED)
    find_library(TESSARY_WEBPDEMUX_LIBRARY NAMES libwebpdemux.a webpdemux REQUIRED)
    find_library(TESSARY_SHARPYUV_LIBRARY NAMES libsharpyuv.a sharpyuv) # split off in libwebp 1.3
    foreach(lib webp webpdemux)
        string(TOUPPER ${lib} upper)
        add_library(tessary_${lib} STATIC IMPORTED GLOBAL)
        set_target_properties(tessary_${lib} PROPERTIES
            IMPORTED_LOCATION ${TESSARY_${upper}_LIBRARY}
            INTERFACE_INCLUDE_DIRECTORIES ${TESSARY_WEBP_INCLUDE})
    endforeach()
    if(TESSARY_SHARPYUV_LIBRARY)
        set_target_properties(tessary_webp PROPERTIES INTERFACE_LINK_LIBRARIES ${TESSARY_SHARPYUV_LIBRARY})
    endif()
    return()
endif()

include(ExternalProject)

set(TESSARY_LIBWEBP_SOURCE "" CACHE PATH "libwebp source tree (empty: the one tools/setup.sh fetched)")
set(webp_src ${TESSARY_LIBWEBP_SOURCE})
if(NOT webp_src)
    file(GLOB webp_candidates LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/build/thirdparty-src/libwebp-*)
    foreach(candidate ${webp_candidates})
        if(EXISTS ${candidate}/src/webp/decode.h AND EXISTS ${candidate}/CMakeLists.txt)
            set(webp_src ${candidate})
        endif()
    endforeach()
endif()
if(NOT webp_src OR NOT EXISTS ${webp_src}/src/webp/decode.h)
    message(FATAL_ERROR
        "libwebp source not found (looked in ${CMAKE_SOURCE_DIR}/build/thirdparty-src).\n"
        "Run tools/setup.sh (it fetches Debian's libwebp source package), or configure with "
        "-DTESSARY_LIBWEBP_SOURCE=<dir> or -DTESSARY_SYSTEM_LIBWEBP=ON.")
endif()

set(webp_bin ${CMAKE_BINARY_DIR}/thirdparty/libwebp)
set(webp_lib ${webp_bin}/${CMAKE_STATIC_LIBRARY_PREFIX}webp${CMAKE_STATIC_LIBRARY_SUFFIX})
set(webpdemux_lib ${webp_bin}/${CMAKE_STATIC_LIBRARY_PREFIX}webpdemux${CMAKE_STATIC_LIBRARY_SUFFIX})
cmake_host_system_information(RESULT webp_jobs QUERY NUMBER_OF_LOGICAL_CORES)

# Only the libraries: no tools, no threads (we decode one picture at a time on the caller's thread,
# and a thread library would be one more run-time dependency).
set(webp_args
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DWEBP_USE_THREAD=OFF
    -DWEBP_BUILD_ANIM_UTILS=OFF
    -DWEBP_BUILD_CWEBP=OFF
    -DWEBP_BUILD_DWEBP=OFF
    -DWEBP_BUILD_GIF2WEBP=OFF
    -DWEBP_BUILD_IMG2WEBP=OFF
    -DWEBP_BUILD_VWEBP=OFF
    -DWEBP_BUILD_WEBPINFO=OFF
    -DWEBP_BUILD_LIBWEBPMUX=OFF
    -DWEBP_BUILD_WEBPMUX=OFF
    -DWEBP_BUILD_EXTRAS=OFF
    -DCMAKE_INSTALL_PREFIX=${webp_bin}/unused-install)
tessary_forward_toolchain(webp_args)

ExternalProject_Add(libwebp_build
    SOURCE_DIR ${webp_src}
    BINARY_DIR ${webp_bin}
    CMAKE_ARGS ${webp_args}
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${webp_bin} --config Release --target webp webpdemux
                  --parallel ${webp_jobs}
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${webp_lib} ${webpdemux_lib}
    UPDATE_COMMAND "")

add_library(tessary_webp STATIC IMPORTED GLOBAL)
set_target_properties(tessary_webp PROPERTIES
    IMPORTED_LOCATION ${webp_lib}
    INTERFACE_INCLUDE_DIRECTORIES ${webp_src}/src)
add_dependencies(tessary_webp libwebp_build)
add_library(tessary_webpdemux STATIC IMPORTED GLOBAL)
set_target_properties(tessary_webpdemux PROPERTIES
    IMPORTED_LOCATION ${webpdemux_lib}
    INTERFACE_INCLUDE_DIRECTORIES ${webp_src}/src)
add_dependencies(tessary_webpdemux libwebp_build)
