// An embedded web view.
#pragma once

#include <string>

#include "RectControl.h"

class WebViewBackend;
enum class WebEdit;

class HTMLViewer : public RectControl {
 public:
  // Error code when the web view module is missing from the installation.
  static constexpr int kErrorNoEngine = -1;

  HTMLViewer(::Window& owner, std::string name);
  ~HTMLViewer() override;
  const char* ClassName() const override { return "HTMLViewer"; }

  // Starts loading and returns at once. Events: DocumentProgressChanged (url, percent) while it
  // loads, TitleChanged (title) whenever the shown document's title changes, DocumentComplete
  // (url) when it has loaded, Error (code, message) when no page could be had at all.
  void LoadURL(const std::string& url);

  // The Edit menu's commands on the page.
  bool EditCut();
  bool EditCopy();
  bool EditPaste();
  bool EditClear();
  bool EditSelectAll();

  void Shutdown() override;
  // Binds EditCopy, EditPaste, EditSelectAll, EditCut and EditClear to the commands above.
  void AddEditMenuHandlers() override;

 protected:
  std::optional<std::size_t> EventSignature(const std::string& event) const override;

 private:
  void DocumentLoaded(const std::string& url);
  bool Edit(WebEdit command);

  // Nil when the web view module could not be loaded.
  WebViewBackend* view_ = nullptr;
  std::string lastTitle_;
};
