#pragma once

#include <QString>

// A listing's file is written beside its place (".NAME.kasa-nowy") and takes the name only when
// it is whole, so a listing that fails leaves yesterday's file as it was. What is left of the
// scratch file goes with the object.
class ListingFile {
public:
    explicit ListingFile(const QString &path);
    ~ListingFile();
    ListingFile(const ListingFile &) = delete;
    ListingFile &operator=(const ListingFile &) = delete;

    const QString &scratch() const { return scratch_; }
    // The scratch file takes the listing's name; false when there is none or the rename failed.
    bool putInPlace() const;

private:
    QString path_;
    QString scratch_;
};
