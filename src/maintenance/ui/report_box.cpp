#include "maintenance/ui/report_box.h"

#include <QDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QPlainTextEdit *NewReportBox(QWidget *parent)
{
    auto *report = new QPlainTextEdit(parent);
    report->setObjectName(QStringLiteral("Report"));
    report->setReadOnly(true);
    report->setLineWrapMode(QPlainTextEdit::NoWrap);
    report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return report;
}

void LayOutWithReport(QDialog *window, QLayout *fields, QPushButton *start, QPushButton *close, QPlainTextEdit *report)
{
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(start);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(window);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(report, 1);
}
