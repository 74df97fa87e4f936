target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DeleteData.cpp ${CMAKE_CURRENT_LIST_DIR}/DeleteData.h
    ${CMAKE_CURRENT_LIST_DIR}/EntryFormHost.h
)
