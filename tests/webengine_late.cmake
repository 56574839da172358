# Loads the engine on demand and must not link it, so it is labelled by hand.
brindlecot_test(test_webengine_late test_webengine_late.cpp)
# Each route row starts an engine of its own: on a small machine the suite takes minutes.
set_tests_properties(test_webengine_late PROPERTIES LABELS webengine TIMEOUT 900)
# Built beside the program, so that it finds the module from where the program does.
set_target_properties(test_webengine_late PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# An installed program looks for the web view module at a path relative to its own folder:
# installing must put the module exactly there.
set(BRINDLECOT_INSTALL_PROBE ${CMAKE_CURRENT_BINARY_DIR}/install-probe)
add_test(NAME test_webview_install
         COMMAND sh -c "rm -rf '${BRINDLECOT_INSTALL_PROBE}' && '${CMAKE_COMMAND}' --install \
'${CMAKE_BINARY_DIR}' --prefix '${BRINDLECOT_INSTALL_PROBE}' >/dev/null && test -f \
'${BRINDLECOT_INSTALL_PROBE}/${CMAKE_INSTALL_BINDIR}/${BRINDLECOT_WEBVIEW_FROM_BINDIR}/\
$<TARGET_FILE_NAME:brindlecot_webview>'")
set_tests_properties(test_webview_install PROPERTIES LABELS unit)

# The engine takes a proxy setting once, as it starts: each setting's routes are looked at in a
# process of its own.
add_executable(route_probe route_probe.cpp)
target_link_libraries(route_probe PRIVATE brindlecot_testsupport)
add_dependencies(test_webengine_late route_probe)
target_compile_definitions(test_webengine_late PRIVATE ROUTE_PROBE_PATH="$<TARGET_FILE:route_probe>")
# libproxy's KDE reader, which scripts/test.sh unpacks here, and our stand-in for the KDE settings
# reader it runs, so that a row can give Qt a desktop proxy configuration to read.
target_compile_definitions(
  test_webengine_late PRIVATE DESKTOP_PROXY_MODULES="${CMAKE_BINARY_DIR}/desktop-proxy"
                              DESKTOP_TOOLS="${CMAKE_CURRENT_SOURCE_DIR}/support/desktop")
