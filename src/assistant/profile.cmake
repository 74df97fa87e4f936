# The assistant's headless logic (profile, field texts, settings) goes into zumicore; its
# windows into zumiassistant.
pkg_check_modules(ICU REQUIRED IMPORTED_TARGET GLOBAL icu-uc icu-i18n)

target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AssistantSettings.cpp ${CMAKE_CURRENT_LIST_DIR}/AssistantSettings.h
    ${CMAKE_CURRENT_LIST_DIR}/FieldTexts.cpp ${CMAKE_CURRENT_LIST_DIR}/FieldTexts.h
    ${CMAKE_CURRENT_LIST_DIR}/KanaWidth.cpp ${CMAKE_CURRENT_LIST_DIR}/KanaWidth.h
    ${CMAKE_CURRENT_LIST_DIR}/ProfileValidation.cpp ${CMAKE_CURRENT_LIST_DIR}/ProfileValidation.h
    ${CMAKE_CURRENT_LIST_DIR}/UserProfile.cpp ${CMAKE_CURRENT_LIST_DIR}/UserProfile.h
    ${CMAKE_CURRENT_LIST_DIR}/WindowsVersion.cpp ${CMAKE_CURRENT_LIST_DIR}/WindowsVersion.h
)
target_link_libraries(zumicore PUBLIC PkgConfig::ICU)

target_sources(zumiassistant PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmUserProfile.cpp ${CMAKE_CURRENT_LIST_DIR}/frmUserProfile.h
    ${CMAKE_CURRENT_LIST_DIR}/frmZumikey.cpp ${CMAKE_CURRENT_LIST_DIR}/frmZumikey.h
    ${CMAKE_CURRENT_LIST_DIR}/StartUp.cpp ${CMAKE_CURRENT_LIST_DIR}/StartUp.h
)
