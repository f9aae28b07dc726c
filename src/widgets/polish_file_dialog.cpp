#include "widgets/polish_file_dialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace {

// The list's fourth column is the day a file was last changed.
constexpr int kChangedColumn = 3;

class PolishDates final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole && index.column() == kChangedColumn)
            if (const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel()))
                return QLocale(QLocale::Polish, QLocale::Poland).toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

void ShowFileDatesInPolish(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, !QLocale::system().name().startsWith(QLatin1String("pl")));
    if (dialog.testOption(QFileDialog::DontUseNativeDialog))
        dialog.setProxyModel(new PolishDates(&dialog));
}
