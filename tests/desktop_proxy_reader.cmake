# The step of scripts/test.sh that fetches libproxy's KDE reader, run with stand-ins for apt.
add_test(NAME desktop_proxy_reader COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/desktop_proxy_reader.sh)
set_tests_properties(desktop_proxy_reader PROPERTIES LABELS script)
