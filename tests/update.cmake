# Install Update ends the program: that run happens in a process of its own.
add_executable(update_probe update_probe.cpp)
set_target_properties(update_probe PROPERTIES AUTOMOC ON)
target_link_libraries(update_probe PRIVATE brindlecot_testsupport)
brindlecot_test(test_update test_update.cpp WEBENGINE)
add_dependencies(test_update update_probe)
target_compile_definitions(test_update PRIVATE UPDATE_PROBE_PATH="$<TARGET_FILE:update_probe>")
