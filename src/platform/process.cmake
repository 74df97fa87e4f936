target_sources(zumiplatform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SystemInfo.cpp ${CMAKE_CURRENT_LIST_DIR}/SystemInfo.h
)
