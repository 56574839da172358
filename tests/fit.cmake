# Declared texts fit their boxes; some windows make web views.
brindlecot_test(test_fit test_fit.cpp WEBENGINE)
