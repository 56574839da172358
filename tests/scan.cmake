brindlecot_test(test_scan test_scan.cpp WEBENGINE)
