# The program's desktop entry and icon, installed where a Linux desktop looks for them (relative
# destinations, so --prefix works); the program and its web view module are installed beside.
# The icon is compiled into the program as well: its windows carry it, for the taskbars and window
# switchers that read a window's own icon rather than the desktop entry's.
qt_add_resources(brindlecot_program "desktop" PREFIX "/" BASE resources FILES
                 resources/desktop/brindlecot-48.png resources/desktop/brindlecot-128.png)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/com.example.Brindlecot.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/brindlecot-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME com.example.Brindlecot.png)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/brindlecot-128.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps
        RENAME com.example.Brindlecot.png)
