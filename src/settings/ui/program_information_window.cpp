#include "settings/ui/program_information_window.h"

#include "base/application_title.h"
#include "settings/program_information.h"

#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A label showing the text as a link; a click opens the address with the desktop's handler.
QLabel *Link(const QString &text, const QUrl &address, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(address.toString(QUrl::FullyEncoded), text.toHtmlEscaped()));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(true);
    return label;
}

} // namespace

TPROGF::TPROGF(QString helpFile, QString programFolder, QWidget *parent)
    : QDialog(parent), Heading(new QLabel(this)), Version(new QLabel(this)), Licence(new QLabel(this))
{
    setObjectName(QStringLiteral("TPROGF"));
    setWindowTitle(QStringLiteral("Informacja o programie"));
    QFont large = Heading->font();
    large.setPointSize(large.pointSize() * 2);
    large.setBold(true);
    Heading->setFont(large);
    Version->setText(QStringLiteral("Wersja %1").arg(ProgramVersion()));
    Licence->setText(ProgramLicence());
    Licence->setWordWrap(true);
    auto *description = new QLabel(ProgramDescription(), this);
    description->setWordWrap(true);

    auto *addresses = new QGroupBox(QStringLiteral(" Adresy : "), this);
    auto *grid = new QGridLayout(addresses);
    if (!helpFile.isEmpty()) {
        grid->addWidget(new QLabel(QStringLiteral("Instrukcja obsługi :"), addresses), 0, 0);
        GuideLink = Link(QDir::toNativeSeparators(helpFile), QUrl::fromLocalFile(helpFile), addresses);
        grid->addWidget(GuideLink, 0, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Katalog programu :"), addresses), 1, 0);
    FolderLink = Link(QDir::toNativeSeparators(programFolder), QUrl::fromLocalFile(programFolder), addresses);
    grid->addWidget(FolderLink, 1, 1);
    grid->setColumnStretch(1, 1);

    auto *close = new QPushButton(QStringLiteral("Zamknij"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading);
    layout->addWidget(Version);
    layout->addWidget(description);
    layout->addWidget(Licence);
    layout->addWidget(addresses);
    layout->addLayout(buttons);
    setMinimumWidth(460);
}

void TPROGF::showModal()
{
    Heading->setText(QStringLiteral("Program ") + ApplicationTitle());
    exec();
}
