# Portable logic (no Windows header) and Windows code of this subsystem.
list(APPEND TESSARY_LOGIC_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/KeyPath.cpp
)
list(APPEND TESSARY_WIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Buttons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Clock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CommandTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Containers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Controls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Locale.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AppInfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Dialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessagePump.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Surface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ListView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DesktopWallpaper.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Dpi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DpiLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Monitors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Registry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Screen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
)
