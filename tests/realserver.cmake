# The sample names through a real web server (python3).
brindlecot_test(test_realserver test_realserver.cpp)
