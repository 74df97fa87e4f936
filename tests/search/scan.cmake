# Writes diaries of any size with the real month-file writer, for tests and measurement.
add_library(zumidiarygenerator STATIC
    ${CMAKE_CURRENT_LIST_DIR}/DiaryGenerator.cpp ${CMAKE_CURRENT_LIST_DIR}/DiaryGenerator.h)
target_include_directories(zumidiarygenerator PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(zumidiarygenerator PUBLIC zumicore)

zumi_add_test(tst_searchcriteria LABELS search)
zumi_add_test(tst_searchscan LIBS zumidiarygenerator LABELS search)
# Prints how long searching a 96 000-entry diary takes; not a pass/fail limit.
zumi_add_test(bench_search LIBS zumidiarygenerator LABELS search benchmark)
