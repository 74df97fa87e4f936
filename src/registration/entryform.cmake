# Entry form: typing and editing one entry, stepping through a list, the entry's picture.
target_sources(zumicore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/EntryFormText.cpp ${CMAKE_CURRENT_LIST_DIR}/EntryFormText.h
)
target_sources(zumiforms PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmDataInput.cpp ${CMAKE_CURRENT_LIST_DIR}/frmDataInput.h
    ${CMAKE_CURRENT_LIST_DIR}/frmDataInputLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmDataInputPicture.cpp
)
