#include "maintenance/ui/paradox_migration_window.h"

#include "maintenance/paradox_migration.h"
#include "maintenance/paradox_migration_report.h"
#include "maintenance/ui/archive_folder_picker.h"
#include "maintenance/ui/report_box.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

ParadoxMigrationWindow::ParadoxMigrationWindow(Progress &progress, Prompt *prompt, QWidget *parent)
    : QDialog(parent), progress_(progress), prompt_(prompt ? *prompt : ownPrompt_)
{
    setObjectName(QStringLiteral("ParadoxMigrationWindow"));
    setWindowTitle(QStringLiteral("Przeniesienie danych z tabel Paradox"));
    setModal(true);
    resize(820, 560);

    OldWorkingFolder = new QLineEdit(this);
    OldWorkingFolder->setObjectName(QStringLiteral("OldWorkingFolder"));
    OldDataRoot = new QLineEdit(this);
    OldDataRoot->setObjectName(QStringLiteral("OldDataRoot"));
    OldDataRoot->setPlaceholderText(QStringLiteral("jak folder roboczy"));
    NewFolder = new QLineEdit(this);
    NewFolder->setObjectName(QStringLiteral("NewFolder"));
    StartButton = new QPushButton(QStringLiteral("Przenieś dane"), this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    auto *closeButton = new QPushButton(QStringLiteral("Zamknij"), this);
    // Enter in a folder field starts the work, never closes the window.
    StartButton->setDefault(true);
    closeButton->setAutoDefault(false);
    Report = NewReportBox(this);

    auto *form = new QFormLayout;
    const auto row = [&](const QString &label, QLineEdit *field) {
        auto *line = new QHBoxLayout;
        line->addWidget(field, 1);
        line->addWidget(pickerFor(field));
        form->addRow(label, line);
    };
    row(QStringLiteral("Stary folder roboczy (z tabelą KASA.DB):"), OldWorkingFolder);
    row(QStringLiteral("Stary folder danych (z tabelą FIRMA.DB):"), OldDataRoot);
    row(QStringLiteral("Folder nowej instalacji (nowy albo pusty):"), NewFolder);
    LayOutWithReport(this, form, StartButton, closeButton, Report);

    connect(StartButton, &QPushButton::clicked, this, &ParadoxMigrationWindow::StartClick);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

QPushButton *ParadoxMigrationWindow::pickerFor(QLineEdit *field)
{
    auto *button = new QPushButton(QStringLiteral("..."), this);
    button->setAutoDefault(false);
    button->setObjectName(field->objectName() + QStringLiteral("Button"));
    connect(button, &QPushButton::clicked, this, [this, field] {
        if (!picker_)
            picker_ = new ArchiveFolderPicker(this);
        const QString chosen = picker_->choose(field->text());
        if (!chosen.isEmpty())
            field->setText(chosen);
    });
    return button;
}

void ParadoxMigrationWindow::StartClick()
{
    if (OldWorkingFolder->text().trimmed().isEmpty() || NewFolder->text().trimmed().isEmpty()) {
        prompt_.warning(QStringLiteral("Podaj stary folder roboczy i folder nowej instalacji."));
        return;
    }
    StartButton->setEnabled(false);
    Report->clear();
    try {
        const ParadoxMigrationResult result = MigrateParadoxInstallation(
            {OldWorkingFolder->text().trimmed(), OldDataRoot->text().trimmed(), NewFolder->text().trimmed()}, progress_);
        Report->setPlainText(ParadoxMigrationReport(result));
        if (result.installed)
            prompt_.information(QStringLiteral("Dane zostały przeniesione do %1.").arg(NewFolder->text().trimmed()));
        else
            prompt_.error(QStringLiteral("Stara i nowa instalacja nie są zgodne; nowej instalacji nie zapisano."));
    } catch (const ParadoxMigrationError &error) {
        const QString message = error.message() + QStringLiteral("\rNic nie zostało zapisane.");
        Report->setPlainText(QString(message).replace(u'\r', u'\n'));
        prompt_.error(message);
    }
    StartButton->setEnabled(true);
}
