# Portable logic (no Windows header) and Windows code of this subsystem.
list(APPEND TESSARY_LOGIC_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CatalogText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ThumbGeometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SortKeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CacheIni.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WatchTiming.cpp
)
list(APPEND TESSARY_WIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/FolderButtons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FolderFollow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CatalogHandlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FolderLoad.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FolderWatch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReducedImage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ThumbnailCache.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ThumbnailWorkers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ThumbnailCell.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FolderTree.cpp
)
