#include "WindowWidget.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolBar>

#include "Buttons.h"
#include "Window.h"

void ContentWidget::resizeEvent(QResizeEvent*) {
  owner_->ContentResized(width(), height());
}

WindowWidget::WindowWidget(Window* owner) : owner_(owner) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  content_ = new ContentWidget(owner);
  content_->setObjectName("content");
  setCentralWidget(content_);
}

WindowWidget::~WindowWidget() {
  if (owner_ != nullptr) owner_->WidgetDestroyed();
}

QToolBar* WindowWidget::Toolbar() {
  if (toolbar_ == nullptr) {
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName("toolbar");
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(32, 32));
    toolbar_->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, toolbar_);
  }
  return toolbar_;
}

void WindowWidget::MakeSheet() {
  sheet_ = true;
  setContentsMargins(1, 1, 1, 1);
  if (parentWidget() != nullptr) parentWidget()->installEventFilter(this);
}

void WindowWidget::PlaceAsSheet() {
  auto* owner = qobject_cast<QMainWindow*>(parentWidget());
  if (owner == nullptr) return;
  const QPoint top = owner->mapToGlobal(QPoint(0, owner->centralWidget()->y()));
  move(top.x() + (owner->width() - width()) / 2, top.y());
}

bool WindowWidget::eventFilter(QObject* watched, QEvent* event) {
  if (sheet_ && watched == parentWidget() && isVisible() &&
      (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
    PlaceAsSheet();
  }
  return QMainWindow::eventFilter(watched, event);
}

void WindowWidget::paintEvent(QPaintEvent* event) {
  QMainWindow::paintEvent(event);
  if (!sheet_) return;
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// Return presses the window's default button, Escape its cancel button; fields that use the
// key themselves (many-line text) never pass it on.
void WindowWidget::keyPressEvent(QKeyEvent* event) {
  if (owner_ != nullptr && event->modifiers() == Qt::NoModifier) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool escape = event->key() == Qt::Key_Escape;
    for (const auto& control : owner_->Controls()) {
      auto* button = dynamic_cast<PushButton*>(control.get());
      if (button != nullptr && ((enter && button->Default()) || (escape && button->Cancel()))) {
        button->Push();
        return;
      }
    }
  }
  QMainWindow::keyPressEvent(event);
}

void WindowWidget::closeEvent(QCloseEvent* event) {
  if (owner_ == nullptr || owner_->IsClosed()) {
    event->accept();
    return;
  }
  // The window's own Close decides; the toolkit never destroys it behind our back.
  event->ignore();
  owner_->CloseRequestedByUser();
}
