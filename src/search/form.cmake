# Search: the search form over the scan.
target_sources(zumiforms PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmDataSearch.cpp ${CMAKE_CURRENT_LIST_DIR}/frmDataSearch.h
    ${CMAKE_CURRENT_LIST_DIR}/frmDataSearchRun.cpp
)
