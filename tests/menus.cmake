brindlecot_test(test_menus test_menus.cpp)
