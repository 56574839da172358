brindlecot_test(test_connect test_connect.cpp)
