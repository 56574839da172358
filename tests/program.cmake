# The whole program walked through as a user would, and its end with every window open.
brindlecot_test(test_program test_program.cpp WEBENGINE)
add_dependencies(test_program lifecycle_probe)
target_compile_definitions(test_program PRIVATE PROBE_PATH="$<TARGET_FILE:lifecycle_probe>")
