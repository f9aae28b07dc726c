#pragma once

class QDialog;
class QLayout;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The box under a maintenance window's fields that shows the report of its last run: read-only,
// in a fixed-width font, lines never wrapped, named "Report".
QPlainTextEdit *NewReportBox(QWidget *parent);

// Lays the window out: its fields, then the start button on the left and the close button on the
// right, and the report box below taking the rest of the height.
void LayOutWithReport(QDialog *window, QLayout *fields, QPushButton *start, QPushButton *close, QPlainTextEdit *report);
