#pragma once

#include <QMainWindow>

// The main window: owns every document editor, toolbar and dialog.
class TOknoGl : public QMainWindow
{
    Q_OBJECT
public:
    explicit TOknoGl(QWidget *parent = nullptr);
};
