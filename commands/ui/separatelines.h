#pragma once

#include <QDialog>

// The line-parameter dialog: created once at start-up and shown for Separate Lines and the
// two Insert Text commands.
class TSeparate : public QDialog {
    Q_OBJECT
public:
    explicit TSeparate(QWidget* parent = nullptr);
};
