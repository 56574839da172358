# The program against a hostile or broken directory host.
brindlecot_test(test_hostile test_hostile.cpp)
