zumi_add_test(tst_systeminfo LIBS zumiplatform LABELS platform)

# Typing into another program's window on a real X server (Xvfb).
add_executable(zumi_textfield_helper ${CMAKE_CURRENT_LIST_DIR}/textfield_helper.cpp)
target_link_libraries(zumi_textfield_helper PRIVATE Qt6::Widgets)
zumi_add_test(tst_x11typing LIBS zumiassistant LABELS platform e2e)
target_compile_definitions(tst_x11typing PRIVATE
    TEXTFIELD_HELPER="$<TARGET_FILE:zumi_textfield_helper>")
add_dependencies(tst_x11typing zumi_textfield_helper)
set_tests_properties(tst_x11typing PROPERTIES TIMEOUT 120)
