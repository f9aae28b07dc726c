#include "ledger/ui/qt_dialog_parts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

QString QtInputMask(const QString &formMask)
{
    const QStringList sections = formMask.split(u';');
    QString mask;
    for (const QChar c : sections.value(0)) {
        if (c == u'!')
            continue;
        if (c == u'9')
            mask += u'0';
        else if (c == u'0')
            mask += u'9';
        else if (c == u'/')
            mask += u'-';
        else
            mask += c;
    }
    const QString blank = sections.value(2);
    return mask + u';' + (blank.isEmpty() ? QStringLiteral("_") : blank.left(1));
}

void FocusAndSelectAll(QLineEdit &field)
{
    field.setFocus();
    // Showing the window moves the cursor of a masked field to its start: select afterwards.
    QTimer::singleShot(0, &field, [edit = &field] {
        edit->setFocus();
        edit->selectAll();
    });
}

QLineEdit *MaskedLineEdit(const QString &formMask, const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setInputMask(QtInputMask(formMask));
    return edit;
}

namespace {

QPushButton *MakeButton(QDialog &dialog, DialogButton button, QWidget *parent)
{
    auto *push = new QPushButton(parent);
    switch (button) {
    case DialogButton::Abort:
        push->setText(QStringLiteral("Przerwij"));
        push->setObjectName(QStringLiteral("AbortButton"));
        QObject::connect(push, &QPushButton::clicked, &dialog, &QDialog::reject);
        return push;
    case DialogButton::Yes:
        push->setText(QStringLiteral("Tak"));
        push->setObjectName(QStringLiteral("YesButton"));
        break;
    case DialogButton::Ok:
        push->setText(QStringLiteral("OK"));
        push->setObjectName(QStringLiteral("OkButton"));
        break;
    case DialogButton::Change:
        push->setText(QStringLiteral("Zmień"));
        push->setObjectName(QStringLiteral("ChangeButton"));
        break;
    }
    push->setDefault(true);
    QObject::connect(push, &QPushButton::clicked, &dialog, &QDialog::accept);
    return push;
}

} // namespace

QWidget *DialogButtons(QDialog &dialog, std::initializer_list<DialogButton> buttons)
{
    auto *row = new QWidget(&dialog);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    for (const DialogButton button : buttons)
        layout->addWidget(MakeButton(dialog, button, row));
    layout->addStretch();
    return row;
}
