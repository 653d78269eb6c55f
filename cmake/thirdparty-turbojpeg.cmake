# libjpeg-turbo built from source: see thirdparty.cmake.
include(ExternalProject)

set(TESSARY_LIBJPEG_TURBO_SOURCE "" CACHE PATH "libjpeg-turbo source tree (empty: the one tools/setup.sh fetched)")
set(jpeg_src ${TESSARY_LIBJPEG_TURBO_SOURCE})
if(NOT jpeg_src)
    file(GLOB jpeg_candidates LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/build/thirdparty-src/libjpeg-turbo-*)
    foreach(candidate ${jpeg_candidates})
        if(EXISTS ${candidate}/turbojpeg.h AND EXISTS ${candidate}/CMakeLists.txt)
            set(jpeg_src ${candidate})
        endif()
    endforeach()
endif()
if(NOT jpeg_src OR NOT EXISTS ${jpeg_src}/turbojpeg.h)
    if(NOT jpeg_src)
        set(jpeg_src ${CMAKE_SOURCE_DIR}/build/thirdparty-src/libjpeg-turbo-*)
    endif()
    message(FATAL_ERROR
        "libjpeg-turbo source not found (looked for ${jpeg_src}/turbojpeg.h).\n"
        "Run tools/setup.sh (it fetches Debian's libjpeg-turbo source package), or configure with "
        "-DTESSARY_LIBJPEG_TURBO_SOURCE=<dir> or -DTESSARY_SYSTEM_TURBOJPEG=ON.")
endif()

find_program(TESSARY_NASM NAMES nasm yasm)
if(NOT TESSARY_NASM)
    message(FATAL_ERROR "nasm is needed for libjpeg-turbo's SIMD code; run tools/setup.sh.")
endif()

set(jpeg_bin ${CMAKE_BINARY_DIR}/thirdparty/libjpeg-turbo)
set(jpeg_lib ${jpeg_bin}/${CMAKE_STATIC_LIBRARY_PREFIX}turbojpeg${CMAKE_STATIC_LIBRARY_SUFFIX})
if(MSVC)
    set(jpeg_lib ${jpeg_bin}/turbojpeg-static.lib)
endif()
cmake_host_system_information(RESULT jpeg_jobs QUERY NUMBER_OF_LOGICAL_CORES)

set(jpeg_args
    -DCMAKE_BUILD_TYPE=Release
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=ON
    -DWITH_SIMD=ON
    -DREQUIRE_SIMD=ON
    -DWITH_JAVA=OFF
    -DCMAKE_INSTALL_PREFIX=${jpeg_bin}/unused-install # its Windows default is not a path here
    -DCMAKE_ASM_NASM_COMPILER=${TESSARY_NASM})
tessary_forward_toolchain(jpeg_args)

# Only the static TurboJPEG library is built (it contains the whole codec); nothing is installed.
ExternalProject_Add(libjpeg_turbo_build
    SOURCE_DIR ${jpeg_src}
    BINARY_DIR ${jpeg_bin}
    CMAKE_ARGS ${jpeg_args}
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${jpeg_bin} --config Release --target turbojpeg-static
                  --parallel ${jpeg_jobs}
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${jpeg_lib}
    UPDATE_COMMAND "")

# Headers: turbojpeg.h and jpeglib.h from the source tree, the generated jconfig.h from the build.
file(MAKE_DIRECTORY ${jpeg_bin})
add_library(tessary_turbojpeg STATIC IMPORTED GLOBAL)
set_target_properties(tessary_turbojpeg PROPERTIES
    IMPORTED_LOCATION ${jpeg_lib}
    INTERFACE_INCLUDE_DIRECTORIES "${jpeg_src};${jpeg_bin}")
add_dependencies(tessary_turbojpeg libjpeg_turbo_build)
