#pragma once
// The main window of the window program.

#include <QMainWindow>

class CMFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMFrame(QWidget* parent = nullptr);
};
