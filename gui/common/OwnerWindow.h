#pragma once
// The window a message box or a file dialog opens over: the main window, or the
// window of the main window's own that is modal at the moment (the reception
// window, the upload window, a dialog), so that it comes on top of that one.
// Never a window of another owner, and never the active window of the moment,
// which the desktop may have given to nobody.

class QWidget;

// Without a main window (a window tested alone) there is no owner.
QWidget* OwnerWindow(QWidget* mainWindow);
