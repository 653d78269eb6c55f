# Portable logic (no Windows header) and Windows code of this subsystem.
list(APPEND TESSARY_LOGIC_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Scaler.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PixelTransform.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImageHeader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExifOrientation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DecodePlan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BmpFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PixelOps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileNames.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JpegDc.cpp
)
list(APPEND TESSARY_WIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/GDIPlusAPI.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JpegCodec.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WebpCodec.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PictureLoader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PngCodec.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PictureDecoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImageFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PixelFile.cpp
)
