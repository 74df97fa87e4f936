zumi_add_test(tst_datatool LABELS store
    SOURCES ${PROJECT_SOURCE_DIR}/apps/zumicho-data/DataTool.cpp)
target_include_directories(tst_datatool PRIVATE ${PROJECT_SOURCE_DIR}/apps/zumicho-data)
