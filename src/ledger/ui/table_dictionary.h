#pragma once

#include "widgets/table_model.h"
#include "widgets/table_navigator.h"

#include <QDialog>
#include <QList>

class Prompt;
class Table;
class TableGrid;

// What the dictionary windows share: a grid on one table, editable in place, with a navigator
// below it. Shown modally. Closing stores a pending edit at once (PostAndFlush); when a rule
// refuses it, the window stays open on the row so nothing typed is lost.
class TableDictionaryWindow : public QDialog {
    Q_OBJECT

public:
    TableDictionaryWindow(Table &table, const QList<GridColumn> &columns, const QList<TableNavigator::Entry> &buttons,
                          Prompt &prompt, QWidget *parent);

    // Prepares the window for the table as it is now and shows it until it closes.
    int showModal();

    TableModel &model() const;

    TableGrid *Grid;
    TableNavigator *Navigator;

public slots:
    void done(int result) override;

protected:
    // Runs before each showing.
    virtual void prepareToShow() {}

    Table &table_;
    Prompt &prompt_;

private:
    void fitToColumns();
};

// The hints of the navigator buttons.
namespace NavigatorHint {
inline const QString First = QStringLiteral("Pierwszy");
inline const QString Prior = QStringLiteral("Poprzedni");
inline const QString Next = QString::fromUtf8("Następny");
inline const QString Last = QStringLiteral("Ostatni");
inline const QString Insert = QStringLiteral("Nowy");
inline const QString Delete = QStringLiteral("Kasuj");
inline const QString Edit = QStringLiteral("Edytuj");
inline const QString Post = QStringLiteral("Zapisz");
inline const QString Cancel = QStringLiteral("Przerwij");
inline const QString Refresh = QString::fromUtf8("Odśwież");
} // namespace NavigatorHint
