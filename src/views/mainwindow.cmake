target_sources(zumiforms PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/BusyCursor.h
    ${CMAKE_CURRENT_LIST_DIR}/EntryTableModel.cpp ${CMAKE_CURRENT_LIST_DIR}/EntryTableModel.h
    ${CMAKE_CURRENT_LIST_DIR}/FormHelpers.h
    ${CMAKE_CURRENT_LIST_DIR}/MainState.h
    ${CMAKE_CURRENT_LIST_DIR}/frmMain.cpp ${CMAKE_CURRENT_LIST_DIR}/frmMain.h
    ${CMAKE_CURRENT_LIST_DIR}/frmMainLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainMonth.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainDelete.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainEntry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainImport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainNavigation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainShell.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainTabs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainTotals.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainApply.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainBackup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainSearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainOutput.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChoiceKeyFilter.cpp ${CMAKE_CURRENT_LIST_DIR}/ChoiceKeyFilter.h
    ${CMAKE_CURRENT_LIST_DIR}/DigitKeyFilter.cpp ${CMAKE_CURRENT_LIST_DIR}/DigitKeyFilter.h
)
