target_sources(zumiplatform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DesktopShortcut.cpp ${CMAKE_CURRENT_LIST_DIR}/DesktopShortcut.h
    ${CMAKE_CURRENT_LIST_DIR}/QtDialogs.cpp ${CMAKE_CURRENT_LIST_DIR}/QtDialogs.h
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.cpp ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.h
    ${CMAKE_CURRENT_LIST_DIR}/WindowLevel.cpp ${CMAKE_CURRENT_LIST_DIR}/WindowLevel.h
)
