#include "maintenance/ui/archive_window.h"

#include "base/global_state.h"
#include "maintenance/archive_commands.h"
#include "maintenance/ui/archive_folder_picker.h"
#include "store/data_tree.h"
#include "store/session.h"
#include "store/table.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

TARCHF::TARCHF(const ArchiveWindowServices &services, QWidget *parent)
    : QDialog(parent), PageControl(new QTabWidget(this)), services_(services)
{
    setObjectName(QStringLiteral("TARCHF"));
    setWindowTitle(QStringLiteral("Moduł ARCHIWUM"));
    setModal(true);
    resize(520, 300);

    TabArchiwowanie = buildPage(Archiwowanie,
                                {QStringLiteral("Archiwum zawiera wszystkie bazy danych ze wszystkich lat."),
                                 QStringLiteral("Ostatnia aktualizacja archiwum :")},
                                QStringLiteral("Archiwizuj"));
    TabOdtwarzanie = buildPage(Odtwarzanie,
                               {QStringLiteral("Odtworzenie plików z archiwum. Podczas odtwarzania zostaną "),
                                QStringLiteral("przywrócone wszystkie dane ze wszystkich zarchiwizowanych lat."),
                                QStringLiteral("Ostatnia aktualizacja archiwum : ")},
                               QStringLiteral("Odtwarzaj"));
    PageControl->addTab(TabArchiwowanie, QStringLiteral("ARCHIWOWANIE"));
    PageControl->addTab(TabOdtwarzanie, QStringLiteral("ODTWARZANIE"));
    // The page in front has its own default command.
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int page) {
        (page == 0 ? Archiwowanie : Odtwarzanie).run->setDefault(true);
        (page == 0 ? Odtwarzanie : Archiwowanie).run->setDefault(false);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);

    connect(Archiwowanie.run, &QPushButton::clicked, this, &TARCHF::ArchiwizujClick);
    connect(Odtwarzanie.run, &QPushButton::clicked, this, &TARCHF::OdtwarzajClick);
}

QWidget *TARCHF::buildPage(LocationPage &page, const QStringList &notes, const QString &runText)
{
    auto *tab = new QWidget(PageControl);
    page.defaultLocation = new QRadioButton(QStringLiteral("domyślna lokalizacja"), tab);
    page.anyLocation = new QRadioButton(QStringLiteral("dowolna lokalizacja"), tab);
    page.defaultLocation->setChecked(true);
    page.pathGroup = new QGroupBox(QStringLiteral("Ścieżka do plików archiwum"), tab);
    page.path = new QLineEdit(page.pathGroup);
    page.browse = new QPushButton(QStringLiteral("..."), page.pathGroup);
    page.browse->setFixedWidth(32);
    auto *pathRow = new QHBoxLayout(page.pathGroup);
    pathRow->addWidget(page.path, 1);
    pathRow->addWidget(page.browse);
    page.pathGroup->setEnabled(false);
    // The choice only enables the path; the text stays as it is.
    connect(page.anyLocation, &QRadioButton::toggled, page.pathGroup, &QWidget::setEnabled);
    connect(page.browse, &QPushButton::clicked, this, [this, &page] { browse(page); });

    auto *layout = new QVBoxLayout(tab);
    auto *choice = new QHBoxLayout;
    choice->addWidget(page.defaultLocation);
    choice->addWidget(page.anyLocation);
    choice->addStretch(1);
    layout->addLayout(choice);
    layout->addWidget(page.pathGroup);
    for (int i = 0; i < notes.size() - 1; ++i)
        layout->addWidget(new QLabel(notes.at(i), tab));
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(new QLabel(notes.last(), tab));
    page.archiveDate = new QLabel(tab);
    page.archiveDate->setObjectName(QStringLiteral("ARCHDATA"));
    dateRow->addWidget(page.archiveDate);
    dateRow->addStretch(1);
    layout->addLayout(dateRow);
    layout->addStretch(1);

    page.cancel = new QPushButton(QStringLiteral("&Przerwij"), tab);
    page.run = new QPushButton(runText, tab);
    connect(page.cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *commands = new QHBoxLayout;
    commands->addStretch(1);
    commands->addWidget(page.cancel);
    commands->addWidget(page.run);
    layout->addLayout(commands);
    return tab;
}

int TARCHF::showModal()
{
    const Session *session = services_.company.session();
    const QString folder = DefaultArchiveFolder(services_.state.DataRoot, session ? session->workingFolder() : QString());
    Archiwowanie.path->setText(folder);
    Odtwarzanie.path->setText(folder);
    PageControl->setCurrentWidget(TabArchiwowanie);
    Archiwowanie.run->setDefault(true);
    showArchiveDate();
    return exec();
}

void TARCHF::showArchiveDate()
{
    const QString date = services_.company.isOpen() ? services_.company.asString(QStringLiteral("ARCHDATA")) : QString();
    Archiwowanie.archiveDate->setText(date);
    Odtwarzanie.archiveDate->setText(date);
}

void TARCHF::browse(LocationPage &page)
{
    if (!picker_)
        picker_ = new ArchiveFolderPicker(this);
    const QString folder = picker_->choose(page.path->text());
    if (!folder.isEmpty())
        page.path->setText(folder);
}

QString TARCHF::pathOf(LocationPage &page)
{
    const QString path = WithTrailingSeparator(page.path->text().trimmed());
    page.path->setText(path);
    return path;
}

void TARCHF::ArchiwizujClick()
{
    const ArchiveCommandContext context{services_.company, services_.prompt, services_.progress, services_.state};
    Archiwizuj(context, pathOf(Archiwowanie));
    showArchiveDate();
    accept();
}

void TARCHF::OdtwarzajClick()
{
    const ArchiveCommandContext context{services_.company, services_.prompt, services_.progress, services_.state};
    Odtwarzaj(context, pathOf(Odtwarzanie), services_.closeTables, services_.reopenTables);
    showArchiveDate();
    accept();
}
