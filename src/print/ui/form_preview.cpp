#include "print/ui/form_preview.h"

#include "base/prompt.h"
#include "print/forms/form_painter.h"
#include "print/save_file_dialog.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QAction>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kNoPrinter = QStringLiteral("Uwaga nie posiadasz zainstalowanej drukarki !!\r"
                                          "Czy zapisać wydruk w pliku PDF ?");

} // namespace

FormPrinting::FormPrinting(Prompt &prompt, SaveFileDialog &saveDialog, QWidget *parent)
    : prompt_(prompt), saveDialog_(saveDialog), parent_(parent)
{
}

bool FormPrinting::print(const FormLayout &layout, const QString &title, bool askPrinter)
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        if (prompt_.show(PromptIcon::Warning, kNoPrinter, Yes | No) != Yes)
            return false;
        return savePdf(layout, title);
    }
    QPrinter printer(QPrinter::HighResolution);
    if (const QString chosen = currentPrinter ? currentPrinter() : QString(); !chosen.isEmpty())
        printer.setPrinterName(chosen);
    printer.setDocName(title);
    printer.setFullPage(true);
    if (askPrinter) {
        QPrintDialog dialog(&printer, parent_);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    if (!PaintFormLayout(layout, printer)) {
        prompt_.error(QStringLiteral("Nie można wydrukować na drukarce ") + printer.printerName());
        return false;
    }
    return true;
}

bool FormPrinting::savePdf(const FormLayout &layout, const QString &title)
{
    const std::optional<QString> path = saveDialog_.askSaveFileName(title + QStringLiteral(".pdf"), QStringLiteral("pdf"));
    if (!path || path->isEmpty())
        return false;
    QString error;
    if (!WriteLayoutPdf(layout, *path, title, &error)) {
        prompt_.error(QStringLiteral("Nie można zapisać pliku ") + *path + QStringLiteral("\r") + error);
        return false;
    }
    return true;
}

FormPreviewWindow::FormPreviewWindow(FormLayout layout, const QString &title, FormPrinting &printing, QWidget *parent)
    : QDialog(parent), layout_(std::move(layout)), title_(title), printing_(printing), printer_(QPrinter::ScreenResolution)
{
    setObjectName(QStringLiteral("FormPreviewWindow"));
    setWindowTitle(QStringLiteral("Podgląd wydruku - ") + title);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    printer_.setFullPage(true);
    printer_.setOutputFormat(QPrinter::PdfFormat);

    auto *layoutBox = new QVBoxLayout(this);
    layoutBox->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layoutBox->addWidget(bar);
    preview_ = new QPrintPreviewWidget(&printer_, this);
    preview_->setObjectName(QStringLiteral("PreviewPages"));
    layoutBox->addWidget(preview_, 1);

    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *printer) { PaintFormLayout(layout_, *printer); });

    auto add = [&](const QString &text, const QString &name, auto slot, const QList<QKeySequence> &keys = {}) {
        QAction *action = bar->addAction(text);
        action->setObjectName(name);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(QStringLiteral("Drukuj"), QStringLiteral("PrintAction"), [this] { printing_.print(layout_, title_, true); },
        {QKeySequence(Qt::CTRL | Qt::Key_P)});
    add(QStringLiteral("Zapisz PDF"), QStringLiteral("PdfAction"), [this] { printing_.savePdf(layout_, title_); });
    bar->addSeparator();
    add(QStringLiteral("|<"), QStringLiteral("FirstPageAction"), [this] { preview_->setCurrentPage(1); showPageNumber(); });
    add(QStringLiteral("<"), QStringLiteral("PriorPageAction"), [this] {
        preview_->setCurrentPage(std::max(1, preview_->currentPage() - 1));
        showPageNumber();
    }, {QKeySequence(Qt::Key_PageUp)});
    pageLabel_ = new QLabel(bar);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    pageLabel_->setMinimumWidth(110);
    pageLabel_->setAlignment(Qt::AlignCenter);
    bar->addWidget(pageLabel_);
    add(QStringLiteral(">"), QStringLiteral("NextPageAction"), [this] {
        preview_->setCurrentPage(std::min(pageCount(), preview_->currentPage() + 1));
        showPageNumber();
    }, {QKeySequence(Qt::Key_PageDown)});
    add(QStringLiteral(">|"), QStringLiteral("LastPageAction"), [this] { preview_->setCurrentPage(pageCount()); showPageNumber(); });
    bar->addSeparator();
    add(QStringLiteral("Powiększ"), QStringLiteral("ZoomInAction"), [this] { preview_->zoomIn(); },
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    add(QStringLiteral("Pomniejsz"), QStringLiteral("ZoomOutAction"), [this] { preview_->zoomOut(); },
        {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    add(QStringLiteral("Cała strona"), QStringLiteral("FitPageAction"), [this] { preview_->fitInView(); });
    add(QStringLiteral("Szerokość strony"), QStringLiteral("FitWidthAction"), [this] { preview_->fitToWidth(); });
    add(QStringLiteral("Jedna strona"), QStringLiteral("SinglePageAction"), [this] { preview_->setSinglePageViewMode(); });
    add(QStringLiteral("Dwie strony"), QStringLiteral("FacingPagesAction"), [this] { preview_->setFacingPagesViewMode(); });
    bar->addSeparator();
    add(QStringLiteral("Zamknij"), QStringLiteral("CloseAction"), [this] { accept(); });
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, [this] { showPageNumber(); });

    // Wide enough for the whole tool bar where the screen allows it, never beyond the screen's
    // free area (the page's bottom and "Cała strona" must fit what is seen).
    QSize size(1160, 1000);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        size = size.boundedTo(QSize(free.width() - 20, free.height() - 60));
    }
    resize(size);
    preview_->fitToWidth();
    showPageNumber();
}

void FormPreviewWindow::showPageNumber()
{
    pageLabel_->setText(QStringLiteral("Strona %1 z %2").arg(std::max(1, preview_->currentPage())).arg(pageCount()));
}

QtFormOutput::QtFormOutput(Prompt &prompt, SaveFileDialog &saveDialog, QWidget *parent)
    : printing_(prompt, saveDialog, parent), parent_(parent)
{
}

namespace {

// A file name may not hold the folder separators a document number can carry.
QString TitleOf(const ReportForm &form)
{
    QString title = form.title.isEmpty() ? form.name : form.title;
    for (QChar &c : title)
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' || c == u'>' || c == u'|')
            c = u'-';
    return title;
}

} // namespace

void QtFormOutput::preview(ReportForm &form)
{
    FormPreviewWindow window(LayOutForm(form), TitleOf(form), printing_, parent_);
    window.exec();
}

void QtFormOutput::print(ReportForm &form)
{
    printing_.print(LayOutForm(form), TitleOf(form), false);
}
