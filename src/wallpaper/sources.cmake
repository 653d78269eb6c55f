# Portable logic (no Windows header) and Windows code of this subsystem.
list(APPEND TESSARY_LOGIC_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/RecentWallpapers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorChoice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PreviewGeometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PreviewPixels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WallpaperRules.cpp
)
list(APPEND TESSARY_WIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ApplyWallpaper.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DesktopView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorChooser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Preview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentWallpaperMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Resample.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WallpaperHandlers.cpp
)
