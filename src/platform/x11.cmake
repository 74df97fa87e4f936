# Other programs' windows on X11 (the input assistant's target window and keys).
target_sources(zumiplatform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ForeignWindows.cpp ${CMAKE_CURRENT_LIST_DIR}/ForeignWindows.h
    ${CMAKE_CURRENT_LIST_DIR}/X11Desktop.cpp ${CMAKE_CURRENT_LIST_DIR}/X11Desktop.h
)
