#include "maintenance/ui/import_export_window.h"

#include "base/global_state.h"
#include "base/progress.h"
#include "maintenance/exchange_documents.h"
#include "widgets/polish_file_dialog.h"
#include "maintenance/exchange_file.h"
#include "maintenance/exchange_folder.h"
#include "store/data_change_permission.h"
#include "store/table.h"
#include "store/table_helper_context.h"
#include "store/data_module.h"

#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kExportCaption = QStringLiteral("Export danych");
const QString kImportCaption = QStringLiteral("Import danych");

// The file dialogs speak Polish even where start-up has not yet put Qt's own Polish texts in place.
void EnsurePolishDialogTexts()
{
    static bool done = false;
    if (done || !qApp)
        return;
    done = true;
    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

std::optional<QString> AskWithDialog(QWidget *parent, bool save, const QString &folder, const QString &defaultName,
                                     const QStringList &filters)
{
    EnsurePolishDialogTexts();
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    ShowFileDatesInPolish(dialog);
    dialog.setNameFilters(filters);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace

// The bar along the bottom of the window; it repaints only when the shown percentage moves.
class TFexpimp::BarProgress final : public Progress {
public:
    explicit BarProgress(QProgressBar *bar) : bar_(bar) {}
    void Start(const QString &, int maximum) override
    {
        maximum_ = qMax(1, maximum);
        value_ = 0;
        shownPercent_ = 0;
        bar_->setRange(0, 100);
        bar_->setValue(0);
        bar_->repaint();
    }
    void Postep() override
    {
        ++value_;
        const int percent = int(qMin<qint64>(100, qint64(value_) * 100 / maximum_));
        if (percent != shownPercent_) {
            shownPercent_ = percent;
            bar_->setValue(percent);
            bar_->repaint();
        }
    }
    void Stop() override { bar_->setValue(0); }

private:
    QProgressBar *bar_;
    int maximum_ = 1;
    int value_ = 0;
    int shownPercent_ = 0;
};

TFexpimp::TFexpimp(TableHelperContext &helpers, const QString &programFolder, Prompt *prompt, QWidget *parent)
    : QDialog(parent)
    , helpers_(helpers)
    , programFolder_(programFolder)
    , prompt_(prompt ? *prompt : ownPrompt_)
{
    setObjectName(QStringLiteral("TFexpimp"));
    setWindowTitle(kExportCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ZapiszKatalog = new QPushButton(QStringLiteral("Zapisz katalog"), this);
    ZapiszKatalog->setToolTip(QStringLiteral("Zapisuje domyślny katalog przy imporcie/exporcie danych."));
    Plik = new QPushButton(kExportCaption, this);
    Importuj = new QPushButton(QStringLiteral("Importuj dane"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ZapiszKatalog);
    buttons->addWidget(Plik);
    buttons->addWidget(Importuj);
    buttons->addStretch();

    Mapa = new QTableWidget(0, 2, this);
    Mapa->setHorizontalHeaderLabels({QStringLiteral("Pole bazy"), QStringLiteral("Pole pliku")});
    Mapa->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Mapa->verticalHeader()->setDefaultSectionSize(Mapa->fontMetrics().height() + 6);
    Mapa->setSelectionMode(QAbstractItemView::SingleSelection);

    Pasek = new QProgressBar(this);
    Pasek->setRange(0, 100);
    Pasek->setValue(0);
    Pasek->setTextVisible(false);
    progress_ = std::make_unique<BarProgress>(Pasek);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Mapa, 1);
    layout->addWidget(Pasek);
    resize(420, 520);

    connect(ZapiszKatalog, &QPushButton::clicked, this, [this] { ZapiszKatalogClick(); });
    connect(Plik, &QPushButton::clicked, this, [this] { PlikClick(); });
    connect(Importuj, &QPushButton::clicked, this, [this] { ImportujClick(); });
}

TFexpimp::~TFexpimp() = default;

QString TFexpimp::settingsFile() const
{
    return ExchangeFolderFilePath(helpers_.state.DataRoot, programFolder_);
}

void TFexpimp::prepare(const ExchangeSource &source, ExchangeMode mode, bool documents)
{
    source_.emplace(source);
    mode_ = mode;
    documents_ = documents;
    importPath_.clear();
    remembered_ = ReadExchangeFolder(settingsFile());
    const bool importing = mode == ExchangeMode::Import;
    setWindowTitle(importing ? kImportCaption : kExportCaption);
    Plik->setText(importing ? QStringLiteral("Plik importowany") : kExportCaption);
    Importuj->setVisible(importing);
    Importuj->setEnabled(false);
    Mapa->setEditTriggers(importing ? QAbstractItemView::NoEditTriggers
                                    : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                          | QAbstractItemView::AnyKeyPressed);
    if (importing) {
        source.table.setIndexName(QString());
        source.table.cancelRange();
    }
    map_ = FieldMap::forShowing(source, mode);
    fillGrid();
    Pasek->setValue(0);
}

void TFexpimp::showFor(const ExchangeSource &source, ExchangeMode mode, bool documents)
{
    prepare(source, mode, documents);
    exec();
    source_.reset();
}

void TFexpimp::fillGrid()
{
    Mapa->setRowCount(int(map_.rows.size()));
    for (int i = 0; i < map_.rows.size(); ++i) {
        const FieldMapRow &row = map_.rows[i];
        auto *shown = new QTableWidgetItem(row.shown);
        shown->setFlags(shown->flags() & ~Qt::ItemIsEditable);
        if (row.key) {
            QFont bold = shown->font();
            bold.setBold(true);
            shown->setFont(bold);
        }
        Mapa->setItem(i, 0, shown);
        auto *file = new QTableWidgetItem(row.fileColumn);
        if (mode_ == ExchangeMode::Import)
            file->setFlags(file->flags() & ~Qt::ItemIsEditable);
        Mapa->setItem(i, 1, file);
    }
}

// The names typed into "Pole pliku" in export mode.
void TFexpimp::readGrid()
{
    for (int i = 0; i < map_.rows.size() && i < Mapa->rowCount(); ++i)
        if (const QTableWidgetItem *item = Mapa->item(i, 1))
            map_.rows[i].fileColumn = item->text();
}

std::optional<QString> TFexpimp::askFile(bool save)
{
    const QStringList filters = save ? QStringList{QStringLiteral("Plik exportow (*.txt)"), QStringLiteral("Wszystki pliki (*.*)")}
                                     : QStringList{QStringLiteral("Plik tekstowy  (*.txt)"),
                                                   QStringLiteral("CSV rozdzielany średnikami (*.csv)")};
    const QString folder = FolderOfChosenPath(remembered_);
    const QString name = save ? QStringLiteral("export.txt") : QStringLiteral("import.txt");
    return fileQuestion_ ? fileQuestion_(save, folder, name, filters) : AskWithDialog(this, save, folder, name, filters);
}

void TFexpimp::ZapiszKatalogClick()
{
    if (remembered_.isEmpty())
        return;
    if (!WriteExchangeFolder(settingsFile(), FolderOfChosenPath(remembered_)))
        prompt_.warning(QStringLiteral("Nie można zapisać pliku : %1").arg(settingsFile()));
}

void TFexpimp::PlikClick()
{
    if (!source_)
        return;
    if (mode_ == ExchangeMode::Export) {
        const std::optional<QString> path = askFile(true);
        if (!path)
            return;
        remembered_ = *path;
        readGrid();
        try {
            const ExportResult result = ExportTable(*source_, map_, *path, *progress_);
            prompt_.information(ExportSummary(result, *path));
            accept();
        } catch (const ExchangeError &error) {
            prompt_.warning(error.message());
        } catch (const EngineError &error) {
            prompt_.warning(error.message());
        }
        return;
    }
    const std::optional<QString> path = askFile(false);
    if (!path)
        return;
    remembered_ = *path;
    map_ = FieldMap::forShowing(*source_, ExchangeMode::Import);
    importPath_.clear();
    try {
        map_.matchHeader(*source_, ReadExchangeHeaderOf(*path));
        importPath_ = *path;
    } catch (const ExchangeError &error) {
        prompt_.warning(error.message());
    }
    fillGrid();
    Importuj->setEnabled(!importPath_.isEmpty() && map_.keyComplete(*source_));
}

void TFexpimp::ImportujClick()
{
    if (!source_ || importPath_.isEmpty() || !map_.keyComplete(*source_))
        return;
    // An import writes rows, whichever table it fills.
    if (!CheckDataChangePermission(helpers_.state, prompt_))
        return;
    try {
        QString summary;
        if (documents_) {
            const DocumentImportResult result = ImportDocuments(helpers_, source_->table, map_, importPath_, *progress_);
            summary = ImportSummary(result.import, result.breaches);
        } else {
            summary = ImportSummary(ImportTable(*source_, map_, importPath_, *progress_));
        }
        prompt_.information(summary);
        accept();
    } catch (const ExchangeError &error) {
        prompt_.warning(error.message());
    } catch (const EngineError &error) {
        prompt_.warning(error.message());
    }
}

namespace {

TFexpimp &WindowOver(TDANE &data, QWidget *parent)
{
    TFexpimp *window = parent ? parent->findChild<TFexpimp *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window)
        window = new TFexpimp(data.helpers(), data.environment().programFolder, &data.prompt(), parent);
    return *window;
}

// The data module's document views read the table again after an import.
void RefreshLedgerViews(TDANE &data)
{
    for (Table *table : {&data.TKASA, &data.TRKASA, &data.TNAG, &data.TPOZ, &data.KNAG})
        try {
            if (table->isOpen())
                table->refresh();
        } catch (...) {
        }
}

} // namespace

void OpenDocumentExchange(TDANE &data, ExchangeMode mode, QWidget *parent)
{
    Table documents(data.session(), QStringLiteral("TIMP"));
    if (!OpenDocumentTable(documents, data.helpers()))
        return;
    WindowOver(data, parent).showFor(DocumentExchangeSource(documents), mode, true);
    documents.close();
    if (mode == ExchangeMode::Import)
        RefreshLedgerViews(data);
}

void OpenContractorExchange(TDANE &data, ExchangeMode mode, QWidget *parent)
{
    Table &contractors = data.TKontrah;
    if (!contractors.isOpen())
        return;
    // The catalogue keeps its order: the import works in the key's order only while it runs.
    const QString order = contractors.indexName();
    WindowOver(data, parent).showFor(ContractorExchangeSource(contractors), mode, false);
    try {
        if (contractors.isOpen() && contractors.indexName() != order)
            contractors.setIndexName(order);
    } catch (...) {
    }
}
