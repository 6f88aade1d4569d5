# The main window is a library, so that the tests can open it like the program does.
add_library(zemba_mainwindow STATIC frm_Main.cpp frm_Main.h frm_Main.ui)
set_target_properties(zemba_mainwindow PROPERTIES AUTOMOC ON AUTOUIC ON)
target_include_directories(zemba_mainwindow PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zemba_mainwindow
  PUBLIC zemba_scenario zemba_view zemba_dialogs zemba_strings Qt6::Widgets
  PRIVATE zemba_project_options)

add_executable(vuzuzidazerezeda main.cpp)
target_link_libraries(vuzuzidazerezeda PRIVATE zemba_mainwindow zemba_project_options)
