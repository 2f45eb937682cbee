// MORVIN_CLOSE_WHEN_SHOWN=1: a window that closes itself once it has been
// painted for the first time, as its close button would close it. A whole
// start-up can then be measured from outside, end to end, with nothing after
// it but the program's own orderly end. Header only, so the start-up
// benchmark's bare Qt program ends in exactly the same way.
#pragma once

#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QWidget>

namespace morvin {

// Watches the window's paint events when MORVIN_CLOSE_WHEN_SHOWN=1; after the
// first one has been handled (the whole window is painted in one go), the
// window is closed. Without the variable it does nothing.
inline void closeAfterFirstPaintWhenAsked(QWidget* window) {
  if (qEnvironmentVariableIntValue("MORVIN_CLOSE_WHEN_SHOWN") != 1) return;
  class FirstPaint : public QObject {
   public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (event->type() == QEvent::Paint) {
        auto* window = static_cast<QWidget*>(watched);
        window->removeEventFilter(this);
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        deleteLater();
      }
      return false;
    }
  };
  window->installEventFilter(new FirstPaint(window));
}

}  // namespace morvin
