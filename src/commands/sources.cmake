# Portable logic (no Windows header) and Windows code of this subsystem.
list(APPEND TESSARY_LOGIC_SOURCES
)
list(APPEND TESSARY_WIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CommandsHandlers.cpp
)
