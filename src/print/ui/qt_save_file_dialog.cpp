#include "print/ui/qt_save_file_dialog.h"

#include "widgets/polish_file_dialog.h"

#include <QFileDialog>

namespace {

QStringList NameFilters(const QString &suffix)
{
    const QString allFiles = QStringLiteral("Wszystkie pliki (*)");
    if (suffix.isEmpty())
        return {allFiles};
    return {QStringLiteral("*%1").arg(suffix), allFiles};
}

}  // namespace

std::optional<QString> QtSaveFileDialog::askSaveFileName(const QString &defaultName,
                                                         const QString &defaultSuffix)
{
    QFileDialog dialog(parent_, QStringLiteral("Zapisz jako"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    ShowFileDatesInPolish(dialog);
    dialog.setNameFilters(NameFilters(defaultSuffix));
    if (defaultSuffix.startsWith(u'.'))
        dialog.setDefaultSuffix(defaultSuffix.mid(1));
    if (!defaultName.isEmpty())
        dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
