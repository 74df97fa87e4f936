# Backup and restore of the data folder.
target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Backup.cpp ${CMAKE_CURRENT_LIST_DIR}/Backup.h
)
