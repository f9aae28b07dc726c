#include "maintenance/ui/archive_folder_picker.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

ArchiveFolderPicker::ArchiveFolderPicker(QWidget *parent)
    : QDialog(parent), Tree(new QTreeView(this)), model_(new QFileSystemModel(this))
{
    setObjectName(QStringLiteral("ArchiveFolderPicker"));
    setWindowTitle(QStringLiteral("Wyszukiwanie katalogu"));
    setModal(true);
    resize(420, 480);

    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        Tree->hideColumn(column);
    Tree->header()->hide();
    Tree->setRootIndex(model_->index(QDir::rootPath()).parent());

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Tree, &QTreeView::doubleClicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Tree, 1);
    layout->addWidget(buttons);
}

QString ArchiveFolderPicker::selectedFolder() const
{
    const QModelIndex current = Tree->currentIndex();
    if (!current.isValid())
        return QString();
    QString folder = QDir::toNativeSeparators(model_->filePath(current));
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    return folder;
}

void ArchiveFolderPicker::selectFolder(const QString &folder)
{
    QString existing = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    while (!existing.isEmpty() && !QFileInfo(existing).isDir())
        existing = QFileInfo(existing).path() == existing ? QString() : QFileInfo(existing).path();
    const QModelIndex index = model_->index(existing.isEmpty() ? QDir::rootPath() : existing);
    Tree->setCurrentIndex(index);
    Tree->scrollTo(index);
}

QString ArchiveFolderPicker::choose(const QString &startFolder)
{
    selectFolder(startFolder);
    return exec() == QDialog::Accepted ? selectedFolder() : QString();
}
