# Portable logic (no Windows header) and Windows code of this subsystem.
list(APPEND TESSARY_LOGIC_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ZoomGeometry.cpp
)
list(APPEND TESSARY_WIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frmZoom.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImageViewer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cTrackMouse.cpp
)
