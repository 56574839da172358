// The application object, the run-time services and the global functions of the framework.
#pragma once

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>

class MenuBar;

using MenuCommand = std::function<bool()>;

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  ::MenuBar* MenuBar() const { return menuBar_; }
  void SetMenuBar(::MenuBar* bar) { menuBar_ = bar; }
  // Choosing the item named `itemName` runs `command`.
  void AddMenuHandler(const std::string& itemName, MenuCommand command);
  const MenuCommand* MenuHandler(const std::string& itemName) const;

 private:
  ::MenuBar* menuBar_ = nullptr;
  std::map<std::string, MenuCommand> menuHandlers_;
};

// Start-up: brings up the toolkit with the process's arguments.
void RuntimeInit(int argc, char** argv);
// Class registration: registering a name twice has no effect.
void RegisterClass(const std::string& name);
bool IsClassRegistered(const std::string& name);
void RuntimeInitExternalClasses();
void InitPluginEntrypoints();
void RuntimeRegisterAppObject(std::unique_ptr<Application> app);
Application* GetAppObject();
void ReleaseAppObject();
// The event loop; returns when the application quits.
void RuntimeRun();
// Reports an exception that escaped the program's code.
void UnhandledException(std::exception_ptr error);
// Replaces how unhandled exceptions are reported (tests); the default writes to standard error.
void SetUnhandledExceptionReporter(std::function<void(const std::string&)> reporter);
// Ends the event loop with this exit code.
void Quit(int code = 0);
bool IsQuitting();
// The process's exit status: the code given to Quit, or 1 after an unhandled exception.
int RuntimeExit();

// Menu dispatch: the item named `itemName` was chosen.
bool DispatchMenuCommand(const std::string& itemName);

// A modal message with one button; returns when the user has dismissed it.
void MsgBox(const std::string& message);
// Hands a URL to the operating system (the web browser, or the application of its scheme).
void ShowURL(const std::string& url);
