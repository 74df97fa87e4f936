target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DuplicateCheck.cpp ${CMAKE_CURRENT_LIST_DIR}/DuplicateCheck.h
    ${CMAKE_CURRENT_LIST_DIR}/KeySort.cpp ${CMAKE_CURRENT_LIST_DIR}/KeySort.h
)
