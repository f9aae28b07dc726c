#include "print/listing_sheet_workbook.h"

#include <QFile>
#include <QString>

#include <dlfcn.h>
#include <xlsxwriter.h>
#include <zlib.h>

// The zip library's entry that opens one member of the archive, as the workbook writer calls it
// for each part of the workbook. The call goes on to the zip library's own entry with the level
// lowered; everything else is passed as given.
extern "C" int zipOpenNewFileInZip4_64(void *file, const char *filename, const void *fileInfo, const void *extraLocal,
                                       uInt extraLocalSize, const void *extraGlobal, uInt extraGlobalSize,
                                       const char *comment, int method, int level, int raw, int windowBits,
                                       int memLevel, int strategy, const char *password, uLong crcForCrypting,
                                       uLong versionMadeBy, uLong flagBase, int zip64)
{
    using Open = int (*)(void *, const char *, const void *, const void *, uInt, const void *, uInt, const char *,
                         int, int, int, int, int, int, const char *, uLong, uLong, uLong, int);
    static const auto open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    if (!open)
        return -1; // the zip library's "bad parameter": the workbook is reported as not written
    if (method == Z_DEFLATED && level == Z_DEFAULT_COMPRESSION)
        level = Z_BEST_SPEED;
    return open(file, filename, fileInfo, extraLocal, extraLocalSize, extraGlobal, extraGlobalSize, comment, method,
                level, raw, windowBits, memLevel, strategy, password, crcForCrypting, versionMadeBy, flagBase, zip64);
}

lxw_workbook *OpenListingWorkbook(const QString &path)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    return workbook_new_opt(QFile::encodeName(path).constData(), &options);
}

bool WorkbookPackingIsQuick()
{
    return dlsym(RTLD_DEFAULT, "zipOpenNewFileInZip4_64") == reinterpret_cast<void *>(&zipOpenNewFileInZip4_64);
}
