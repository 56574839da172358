brindlecot_test(test_report test_report.cpp)
