# Start password: the login, set and release window and the settings tab's check box.
target_sources(zumiforms PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmStartPassword.cpp ${CMAKE_CURRENT_LIST_DIR}/frmStartPassword.h
    ${CMAKE_CURRENT_LIST_DIR}/frmMainPassword.cpp
)
