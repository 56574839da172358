brindlecot_test(test_about test_about.cpp)
