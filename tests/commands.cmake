# The main window's actions and the application's menu commands; some open web views.
brindlecot_test(test_commands test_commands.cpp WEBENGINE)
