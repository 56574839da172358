brindlecot_test(test_windows test_windows.cpp)
