# The application icon: the packaged SVG through Qt's resource system, for the windows and the tray.
add_library(vantrel_app_icon STATIC ${CMAKE_CURRENT_LIST_DIR}/app_icon.cpp)
target_link_libraries(vantrel_app_icon PUBLIC Qt6::Gui)
target_include_directories(vantrel_app_icon PUBLIC ${PROJECT_SOURCE_DIR}/src)
qt_add_resources(vantrel_app_icon vantrel_icon
  PREFIX /vantrel
  BASE ${PROJECT_SOURCE_DIR}/packaging/icons
  FILES ${PROJECT_SOURCE_DIR}/packaging/icons/vantrel.svg)

# The application shell (Qt Widgets): start-up and shutdown, the main window, the about window,
# and the `vantrel` executable.
add_library(vantrel_shell STATIC
  ${CMAKE_CURRENT_LIST_DIR}/about_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/design_fonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dropped_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frm_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frm_main.h
  ${CMAKE_CURRENT_LIST_DIR}/key_delivery_note.cpp
  ${CMAKE_CURRENT_LIST_DIR}/label_fit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shifter_note.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shifter_start.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paced_display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup_shutdown.cpp
)
set_target_properties(vantrel_shell PROPERTIES AUTOMOC ON)
target_link_libraries(vantrel_shell PUBLIC
  vantrel_app_icon vantrel_controller vantrel_settings vantrel_keynames vantrel_services vantrel_frame_pacer
  Qt6::Widgets)

# The real services, in one place: the key service and the SDL controller service with its pump.
add_library(vantrel_real_services STATIC ${CMAKE_CURRENT_LIST_DIR}/real_services.cpp)
target_link_libraries(vantrel_real_services PUBLIC vantrel_shell vantrel_keys vantrel_shifter vantrel_sdl)

# The windows behind the buttons: key dialog, field editor, tray.
add_library(vantrel_shell_windows STATIC ${CMAKE_CURRENT_LIST_DIR}/secondary_windows.cpp)
set_target_properties(vantrel_shell_windows PROPERTIES AUTOMOC ON)
target_link_libraries(vantrel_shell_windows PUBLIC vantrel_shell vantrel_settings_ui vantrel_tray)

# The program: its command line, then the start-up on the real services.
add_library(vantrel_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/app_session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/autostart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/instance_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_vantrel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/single_instance.cpp
)
target_compile_definitions(vantrel_app PRIVATE VANTREL_VERSION="${PROJECT_VERSION}")
target_link_libraries(vantrel_app PUBLIC vantrel_real_services vantrel_shell_windows Qt6::Network)

add_executable(vantrel ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(vantrel PRIVATE vantrel_app)
vantrel_key_watchdog_beside(vantrel)
