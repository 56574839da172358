# Loads the engine on demand and must not link it, so it is labelled by hand.
brindlecot_test(test_webengine_late test_webengine_late.cpp)
set_tests_properties(test_webengine_late PROPERTIES LABELS webengine)
