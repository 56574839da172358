brindlecot_test(test_httpsocket test_httpsocket.cpp)
# The loopback host's own suite.
brindlecot_test(test_fixture test_fixture.cpp)
