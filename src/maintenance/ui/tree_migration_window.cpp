#include "maintenance/ui/tree_migration_window.h"

#include "maintenance/tree_migration.h"
#include "maintenance/ui/archive_folder_picker.h"
#include "maintenance/ui/report_box.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

TreeMigrationWindow::TreeMigrationWindow(const QString &dataRoot, Progress &progress, Prompt *prompt, QWidget *parent)
    : QDialog(parent), dataRoot_(dataRoot), progress_(progress), prompt_(prompt ? *prompt : ownPrompt_)
{
    setObjectName(QStringLiteral("TreeMigrationWindow"));
    setWindowTitle(QStringLiteral("Przeniesienie danych na serwer lub z serwera"));
    setModal(true);
    resize(760, 420);

    Source = new QLabel(dataRoot, this);
    Source->setObjectName(QStringLiteral("Source"));
    Source->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Target = new QLineEdit(this);
    Target->setObjectName(QStringLiteral("Target"));
    Target->setPlaceholderText(QStringLiteral("pg:USŁUGA, postgresql://... albo pusty folder"));
    auto *pick = new QPushButton(QStringLiteral("..."), this);
    pick->setObjectName(QStringLiteral("TargetButton"));
    pick->setAutoDefault(false);
    StartButton = new QPushButton(QStringLiteral("Przenieś dane"), this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    StartButton->setDefault(true);
    auto *closeButton = new QPushButton(QStringLiteral("Zamknij"), this);
    closeButton->setAutoDefault(false);
    Report = NewReportBox(this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Dane firmy:"), Source);
    auto *line = new QHBoxLayout;
    line->addWidget(Target, 1);
    line->addWidget(pick);
    form->addRow(QStringLiteral("Przenieś do:"), line);
    LayOutWithReport(this, form, StartButton, closeButton, Report);

    connect(pick, &QPushButton::clicked, this, [this] {
        if (!picker_)
            picker_ = new ArchiveFolderPicker(this);
        const QString chosen = picker_->choose(Target->text());
        if (!chosen.isEmpty())
            Target->setText(chosen);
    });
    connect(StartButton, &QPushButton::clicked, this, &TreeMigrationWindow::StartClick);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TreeMigrationWindow::StartClick()
{
    const QString target = MigrationTargetRoot(Target->text());
    if (target.isEmpty()) {
        prompt_.warning(QStringLiteral("Podaj serwer bazy danych albo folder, do którego mają być przeniesione dane."));
        return;
    }
    StartButton->setEnabled(false);
    Report->clear();
    const TreeMigrationReport report = MigrateDataTree(dataRoot_, target, progress_);
    if (!report.refusal.isEmpty()) {
        Report->setPlainText(QString(report.refusal).replace(u'\r', u'\n'));
        prompt_.error(report.refusal);
    } else if (!report.differences.isEmpty()) {
        Report->setPlainText(report.differences.join(u'\n'));
        prompt_.error(QStringLiteral("Kopia różni się od danych źródłowych; nic nie zostało przeniesione."));
    } else {
        Report->setPlainText(QStringLiteral("Przeniesiono tabel: %1.\nKażda tabela jest taka sama jak źródłowa.").arg(report.tables));
        prompt_.information(QStringLiteral("Dane zostały przeniesione do %1.").arg(Target->text().trimmed()));
    }
    StartButton->setEnabled(true);
}
