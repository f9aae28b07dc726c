#include "print/listing_file.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

ListingFile::ListingFile(const QString &path)
    : path_(QFileInfo(path).absoluteFilePath()),
      scratch_(QFileInfo(path).absolutePath() + QStringLiteral("/.") + QFileInfo(path).fileName() + QStringLiteral(".kasa-nowy"))
{
    QFile::remove(scratch_);
}

ListingFile::~ListingFile()
{
    QFile::remove(scratch_);
}

bool ListingFile::putInPlace() const
{
    return QFileInfo::exists(scratch_)
           && ::rename(QFile::encodeName(scratch_).constData(), QFile::encodeName(path_).constData()) == 0;
}
