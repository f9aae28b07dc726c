#include "store/file_move_journal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(brak)");
}

// A switch cut off after some of its renames ends entirely new at the next start; a journal cut
// off while being written was never in force and leaves the old files.
TEST(FileMoveJournal, AnInterruptedSwitchEndsEntirelyNew)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    const QString a = root + "/2026/KASA/NAGKASA.DB", b = root + "/FIRMA.DB";
    Write(a, "stare dokumenty");
    Write(b, "stara firma");
    Write(a + ".kopia", "nowe dokumenty");
    Write(b + ".kopia", "nowa firma");
    ASSERT_TRUE(WriteMoveJournal(root, {{a + ".kopia", a}, {b + ".kopia", b}}));
    // The first rename happened before the kill.
    ASSERT_TRUE(QFile::remove(a) && QFile::rename(a + ".kopia", a));

    EXPECT_TRUE(FinishInterruptedMoves(root));
    EXPECT_EQ(Read(a), "nowe dokumenty");
    EXPECT_EQ(Read(b), "nowa firma");
    EXPECT_EQ(QDir(root).entryList(QDir::Files | QDir::Hidden), QStringList{"FIRMA.DB"});

    Write(b + ".kopia", "jeszcze nowsza");
    Write(root + "/.kasa-przenoszenie", "FIRMA.DB.kopia\tFIRMA.DB\n");
    EXPECT_TRUE(FinishInterruptedMoves(root));
    EXPECT_EQ(Read(b), "nowa firma");
}

} // namespace
