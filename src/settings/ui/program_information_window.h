#pragma once

#include "settings/program_contacts.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// "Informacja o programie": the program's name, version, licence, who sells it (" Sprzedaż
// programu : ", with "ZAMÓWIENIE") and who wrote it (" Autor : "), as the installation gives them,
// and where its guide and its files are; the addresses open with the desktop's own handler.
class TPROGF final : public QDialog {
    Q_OBJECT

public:
    // The guide in PDF, when there is one, and the folder the program runs from.
    TPROGF(QString helpFile, QString programFolder, const ProgramContacts &contacts = {}, QWidget *parent = nullptr);

    void showModal();

    QLabel *Heading;
    QLabel *Version;
    QLabel *Licence;
    QLabel *GuideLink = nullptr;
    QLabel *FolderLink;
    QPushButton *OrderButton;
};
