#pragma once

#include <QDialog>

class QFileSystemModel;
class QTreeView;

// "Wyszukiwanie katalogu": a tree of the disk's folders. Created once and shown modally.
class ArchiveFolderPicker final : public QDialog {
    Q_OBJECT

public:
    explicit ArchiveFolderPicker(QWidget *parent = nullptr);

    // Shows the tree at the folder; the folder selected when the user confirms, without a
    // trailing separator, or empty when the picker was closed otherwise.
    QString choose(const QString &startFolder);
    // The folder selected in the tree now.
    QString selectedFolder() const;
    void selectFolder(const QString &folder);

    QTreeView *Tree;

private:
    QFileSystemModel *model_;
};
