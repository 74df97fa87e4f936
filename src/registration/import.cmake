# Clipboard import: reading copied listings and registering them month by month.
target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ClipboardImport.cpp ${CMAKE_CURRENT_LIST_DIR}/ClipboardImport.h
    ${CMAKE_CURRENT_LIST_DIR}/Deployment.h
    ${CMAKE_CURRENT_LIST_DIR}/ImportRegistration.cpp ${CMAKE_CURRENT_LIST_DIR}/ImportRegistration.h
)
