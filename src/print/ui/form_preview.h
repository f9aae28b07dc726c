#pragma once

#include "print/report_form.h"

#include <QDialog>
#include <QPrinter>
#include <functional>

class Prompt;
class QLabel;
class QPrintPreviewWidget;
class SaveFileDialog;

// Printing laid-out pages: to the system printer (with or without its dialog) or to a PDF file
// the user names. Where no printer is installed it says so and offers the PDF instead.
class FormPrinting {
public:
    FormPrinting(Prompt &prompt, SaveFileDialog &saveDialog, QWidget *parent = nullptr);

    // All pages to the current system printer; with askPrinter the printer dialog comes first.
    // False when nothing was printed (no printer and no PDF, the dialog cancelled, a failure).
    bool print(const FormLayout &layout, const QString &title, bool askPrinter);
    // Asks for a file name and writes the pages as PDF; false when cancelled or failed (the
    // failure is shown).
    bool savePdf(const FormLayout &layout, const QString &title);

    // The printer chosen in the print settings; empty or not given: the system's default.
    std::function<QString()> currentPrinter;

private:
    Prompt &prompt_;
    SaveFileDialog &saveDialog_;
    QWidget *parent_;
};

// The preview of a form's pages: page by page, zoom, one page or facing pages, "Drukuj" (the
// printer dialog) and "Zapisz PDF".
class FormPreviewWindow final : public QDialog {
    Q_OBJECT

public:
    FormPreviewWindow(FormLayout layout, const QString &title, FormPrinting &printing, QWidget *parent = nullptr);

    QPrintPreviewWidget *previewWidget() const { return preview_; }
    int pageCount() const { return int(layout_.pages.size()); }

private:
    void showPageNumber();

    FormLayout layout_;
    QString title_;
    FormPrinting &printing_;
    QPrinter printer_;
    QPrintPreviewWidget *preview_ = nullptr;
    QLabel *pageLabel_ = nullptr;
};

// Forms to the preview window or straight to the printer.
class QtFormOutput final : public FormOutput {
public:
    QtFormOutput(Prompt &prompt, SaveFileDialog &saveDialog, QWidget *parent = nullptr);

    void preview(ReportForm &form) override;
    void print(ReportForm &form) override;

    FormPrinting &printing() { return printing_; }

private:
    FormPrinting printing_;
    QWidget *parent_;
};
