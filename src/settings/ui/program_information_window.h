#pragma once

#include <QDialog>
#include <QString>

class QLabel;

// "Informacja o programie": the program's name, version, licence, and where its guide and its
// files are; the addresses open with the desktop's own handler.
class TPROGF final : public QDialog {
    Q_OBJECT

public:
    // The guide in PDF, when there is one, and the folder the program runs from.
    TPROGF(QString helpFile, QString programFolder, QWidget *parent = nullptr);

    void showModal();

    QLabel *Heading;
    QLabel *Version;
    QLabel *Licence;
    QLabel *GuideLink = nullptr;
    QLabel *FolderLink;
};
