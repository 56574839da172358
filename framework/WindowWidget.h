// The toolkit side of a window: a main window widget whose central widget is the content area
// every control's geometry is measured in (framework-private).
#pragma once

#include <QMainWindow>

class Window;
class QToolBar;

// The window's content area: the geometry of every control is relative to it.
class ContentWidget : public QWidget {
 public:
  explicit ContentWidget(Window* owner) : owner_(owner) {}

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  Window* owner_;
};

class WindowWidget : public QMainWindow {
 public:
  explicit WindowWidget(Window* owner);
  ~WindowWidget() override;

  QWidget* Content() const { return content_; }
  // The toolbar, made when the first toolbar item asks for it.
  QToolBar* Toolbar();
  // A sheet: a border of its own, and it follows the window it hangs from.
  void MakeSheet();
  // Hangs the sheet from the top of its parent's content, centred across it.
  void PlaceAsSheet();
  void Disown() { owner_ = nullptr; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Window* owner_;
  ContentWidget* content_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  bool sheet_ = false;
};
