target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MonthNavigation.cpp ${CMAKE_CURRENT_LIST_DIR}/MonthNavigation.h
)
