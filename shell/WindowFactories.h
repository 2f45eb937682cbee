// One factory per window: constructs the window (running its creation
// handler, wrapped so a failure reaches the error box and the window still
// exists) and registers it in the window set.
#pragma once

class QWidget;

namespace morvin {

QWidget* createTMainForm();
QWidget* createTfmPulpit(QWidget* parent);
QWidget* createTfmWindows(QWidget* parent);
QWidget* createTfmWeb(QWidget* parent);
QWidget* createTfmMenuStart(QWidget* parent);
QWidget* createTfmDos(QWidget* parent);
QWidget* createTfmFoldery(QWidget* parent);
QWidget* createTfmIkony(QWidget* parent);
QWidget* createTfmSet(QWidget* parent);
QWidget* createTfmProgramy(QWidget* parent);
QWidget* createTfmSztuczki(QWidget* parent);

// A window that has only its caption, size and colour so far.
QWidget* createPlainWindow(QWidget* parent, const char* objectName, const char* utf8Caption, int width,
                           int height);

}  // namespace morvin
