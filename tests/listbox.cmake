brindlecot_test(test_listbox test_listbox.cpp)
