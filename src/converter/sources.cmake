# Portable logic (no Windows header) and Windows code of this subsystem.
list(APPEND TESSARY_LOGIC_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ConvertRules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConvertPixels.cpp
)
list(APPEND TESSARY_WIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ConvertEngine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmConvert.cpp
)
