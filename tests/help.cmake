brindlecot_test(test_help test_help.cpp WEBENGINE)
