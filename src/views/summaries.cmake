target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Tally.cpp ${CMAKE_CURRENT_LIST_DIR}/Tally.h
    ${CMAKE_CURRENT_LIST_DIR}/SummaryFiles.cpp ${CMAKE_CURRENT_LIST_DIR}/SummaryFiles.h
    ${CMAKE_CURRENT_LIST_DIR}/Summaries.cpp ${CMAKE_CURRENT_LIST_DIR}/Summaries.h
    ${CMAKE_CURRENT_LIST_DIR}/Expenses.cpp ${CMAKE_CURRENT_LIST_DIR}/Expenses.h
    ${CMAKE_CURRENT_LIST_DIR}/MonthNavigation.cpp ${CMAKE_CURRENT_LIST_DIR}/MonthNavigation.h
)
