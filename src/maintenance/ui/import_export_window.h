#pragma once

#include "maintenance/exchange_field_map.h"
#include "widgets/qt_prompt.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class TDANE;
struct TableHelperContext;

// Asks for a file: save (export) or open (import), starting in the folder with the default file
// name and the filters ("Opis (*.txt)"); the path chosen, or nothing on cancel.
using ExchangeFileQuestion = std::function<std::optional<QString>(bool save, const QString &folder,
                                                                  const QString &defaultName,
                                                                  const QStringList &filters)>;

// "Export danych" / "Import danych": the field map of a table ("Pole bazy" | "Pole pliku"), the
// file command, "Zapisz katalog", "Importuj dane" in import mode and a progress bar along the
// bottom. Created once and shown modally on a table for each command.
class TFexpimp final : public QDialog {
    Q_OBJECT

public:
    // Without a prompt it speaks through message boxes; without a file question through the
    // system's file dialogs.
    TFexpimp(TableHelperContext &helpers, const QString &programFolder, Prompt *prompt = nullptr,
             QWidget *parent = nullptr);
    ~TFexpimp() override;

    // Shows the window modally on the open table; documents: the import checks the ledger's rules.
    // Returns when the window closes.
    void showFor(const ExchangeSource &source, ExchangeMode mode, bool documents = false);
    // Sets up the window for the table without showing it (showFor does this first).
    void prepare(const ExchangeSource &source, ExchangeMode mode, bool documents = false);

    void setFileQuestion(ExchangeFileQuestion question) { fileQuestion_ = std::move(question); }

    // The commands.
    void ZapiszKatalogClick();  // "Zapisz katalog"
    void PlikClick();           // "Export danych" / "Plik importowany"
    void ImportujClick();       // "Importuj dane"

    const FieldMap &fieldMap() const { return map_; }
    // The folder the dialogs open in; the last file chosen.
    const QString &rememberedPath() const { return remembered_; }
    QString settingsFile() const;

    QTableWidget *Mapa;
    QPushButton *ZapiszKatalog;
    QPushButton *Plik;
    QPushButton *Importuj;
    QProgressBar *Pasek;

private:
    class BarProgress;
    void fillGrid();
    void readGrid();
    std::optional<QString> askFile(bool save);

    TableHelperContext &helpers_;
    QString programFolder_;
    QtPrompt ownPrompt_;
    Prompt &prompt_;
    ExchangeFileQuestion fileQuestion_;
    std::optional<ExchangeSource> source_;
    ExchangeMode mode_ = ExchangeMode::Export;
    bool documents_ = false;
    FieldMap map_;
    QString remembered_;
    QString importPath_;
    std::unique_ptr<BarProgress> progress_;
};

// "Eksport dokumentów" / "Import dokumentów" of the main window: the window on a fresh table
// object of the year's documents (TIMP), closed again when the window closes.
void OpenDocumentExchange(TDANE &data, ExchangeMode mode, QWidget *parent);
// The contractor catalogue's "Export katalogu kontrahentów" / "Import katalogu kontrahentów": the
// window on the live contractor table (TKontrah) in its current order; the table stays open.
void OpenContractorExchange(TDANE &data, ExchangeMode mode, QWidget *parent);
