#pragma once

#include "print/save_file_dialog.h"

class QWidget;

// The system's save dialog ("Zapisz jako"), over the given window.
class QtSaveFileDialog final : public SaveFileDialog {
public:
    explicit QtSaveFileDialog(QWidget *parent = nullptr) : parent_(parent) {}

    std::optional<QString> askSaveFileName(const QString &defaultName,
                                           const QString &defaultSuffix) override;

private:
    QWidget *parent_;
};
