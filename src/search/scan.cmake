# Search: the criteria, the test of one entry and the scan of the month files.
target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SearchHost.h
    ${CMAKE_CURRENT_LIST_DIR}/SearchCriteria.cpp ${CMAKE_CURRENT_LIST_DIR}/SearchCriteria.h
    ${CMAKE_CURRENT_LIST_DIR}/SearchScan.cpp ${CMAKE_CURRENT_LIST_DIR}/SearchScan.h
)
