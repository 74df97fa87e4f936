target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Export.cpp ${CMAKE_CURRENT_LIST_DIR}/Export.h
)
