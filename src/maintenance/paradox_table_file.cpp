#include "maintenance/paradox_table_file.h"

#include "maintenance/exchange_text.h"
#include "store/table_files.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

// pxlib's header declares its functions without C linkage for C++.
extern "C" {
#include <paradox.h>
}

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <numeric>

namespace {

// pxlib counts a date's days from 1 January of the year 1 (that day is 1); its conversion takes
// the serial day number of the Julian calendar.
constexpr long kSerialDayOfDayZero = 1721425;

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// pxlib reports through this; what it says is of no use to the user (the program says what
// failed in its own words), so it is dropped.
void IgnorePxlibMessage(pxdoc_t *, int, const char *, void *) {}

// The table's records are read through these once its header is read: pxlib moves to every
// record before reading it, which through the standard file functions costs two system calls a
// record; here a window of the file is kept and records are copied out of it.
struct WindowedReads {
    int descriptor = -1;
    qint64 size = 0;
    qint64 position = 0;
    qint64 windowStart = 0;
    QByteArray window; // the bytes from windowStart on
};
constexpr qint64 kWindowBytes = 1 << 20;

WindowedReads &ReadsOf(pxdoc_t *document)
{
    return *static_cast<WindowedReads *>(document->errorhandler_user_data);
}

// Short at the file's end, as a read of the file itself would be.
size_t ReadWindowed(pxdoc_t *document, pxstream_t *, size_t count, void *buffer)
{
    WindowedReads &reads = ReadsOf(document);
    const qint64 wanted = qint64(count);
    if (reads.position < reads.windowStart || reads.position + wanted > reads.windowStart + reads.window.size()) {
        const qint64 length = std::max(kWindowBytes, wanted);
        reads.window.resize(length);
        const ssize_t got = ::pread(reads.descriptor, reads.window.data(), size_t(length), off_t(reads.position));
        reads.window.resize(got < 0 ? 0 : qsizetype(got));
        reads.windowStart = reads.position;
    }
    const qint64 available = reads.windowStart + reads.window.size() - reads.position;
    const qint64 copied = std::clamp(available, qint64(0), wanted);
    std::memcpy(buffer, reads.window.constData() + (reads.position - reads.windowStart), size_t(copied));
    reads.position += copied;
    return size_t(copied);
}

int SeekWindowed(pxdoc_t *document, pxstream_t *, long offset, int whence)
{
    WindowedReads &reads = ReadsOf(document);
    const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? reads.position : reads.size;
    if (base + offset < 0)
        return -1;
    reads.position = base + offset;
    return 0;
}

long TellWindowed(pxdoc_t *document, pxstream_t *)
{
    return long(ReadsOf(document).position);
}

// The memo file is read through these, on a stream opened for reading only. A read that comes
// back short (a memo file cut short) gives -1, which pxlib takes for a failed read.
size_t ReadMemoFile(pxblob_t *, pxstream_t *stream, size_t count, void *buffer)
{
    const size_t got = std::fread(buffer, 1, count, stream->s.fp);
    return got == count ? got : size_t(-1);
}

int SeekMemoFile(pxblob_t *, pxstream_t *stream, long offset, int whence)
{
    return std::fseek(stream->s.fp, offset, whence);
}

long TellMemoFile(pxblob_t *, pxstream_t *stream)
{
    return std::ftell(stream->s.fp);
}

size_t RefuseWrite(pxblob_t *, pxstream_t *, size_t, void *)
{
    return size_t(-1);
}

QString KindName(int type)
{
    switch (type) {
    case pxfBLOb: return QStringLiteral("obiekt binarny (B)");
    case pxfFmtMemoBLOb: return QStringLiteral("memo formatowane (F)");
    case pxfOLE: return QStringLiteral("OLE (O)");
    case pxfGraphic: return QStringLiteral("grafika (G)");
    case pxfTime: return QStringLiteral("czas (T)");
    case pxfTimestamp: return QStringLiteral("data i czas (@)");
    case pxfBCD: return QStringLiteral("BCD (#)");
    case pxfBytes: return QStringLiteral("bajty (Y)");
    default: return QStringLiteral("nieznany (kod %1)").arg(type);
    }
}

std::optional<ParadoxFieldKind> KindOf(int type)
{
    switch (type) {
    case pxfAlpha: return ParadoxFieldKind::Alpha;
    case pxfDate: return ParadoxFieldKind::Date;
    case pxfShort: return ParadoxFieldKind::Short;
    case pxfLong: return ParadoxFieldKind::Long;
    case pxfCurrency: return ParadoxFieldKind::Currency;
    case pxfNumber: return ParadoxFieldKind::Number;
    case pxfLogical: return ParadoxFieldKind::Logical;
    case pxfMemoBLOb: return ParadoxFieldKind::Memo;
    case pxfAutoInc: return ParadoxFieldKind::AutoIncrement;
    default: return std::nullopt;
    }
}

// An empty field of four bytes is four zero bytes. pxlib's own test for it reads eight bytes on a
// machine with 64-bit longs, so an empty number could come back as one; it is asked only about
// fields that hold something.
bool IsEmptyLongField(const char *data)
{
    return data[0] == 0 && data[1] == 0 && data[2] == 0 && data[3] == 0;
}

bool PlausibleHeader(const pxhead_t *head)
{
    static const int blockSizes[] = {1, 2, 3, 4, 8, 16, 32};
    const bool knownBlockSize = std::find(std::begin(blockSizes), std::end(blockSizes), head->px_maxtablesize)
                                != std::end(blockSizes);
    return knownBlockSize && (head->px_filetype == pxfFileTypIndexDB || head->px_filetype == pxfFileTypNonIndexDB)
           && head->px_numfields > 0 && head->px_recordsize > 0 && head->px_headersize > 0
           && head->px_headersize % 0x800 == 0 && head->px_numrecords >= 0 && head->px_fields != nullptr;
}

} // namespace

struct ParadoxTableFile::Handles {
    FILE *table = nullptr;
    FILE *memo = nullptr;
    pxdoc_t *document = nullptr;
    pxstream_t memoStream{};
    WindowedReads reads;
    QByteArray record;

    ~Handles()
    {
        if (document) {
            // The memo stream is this object's; pxlib must not close it.
            if (document->px_blob)
                document->px_blob->mb_stream = nullptr;
            PX_delete(document);
        }
        if (memo)
            std::fclose(memo);
        if (table)
            std::fclose(table);
    }
};

ParadoxTableFile::ParadoxTableFile(const QString &path) : path_(path), handles_(std::make_unique<Handles>())
{
    const QString shown = Native(path);
    handles_->table = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!handles_->table)
        throw ParadoxFileError(QStringLiteral("Nie można otworzyć pliku %1.").arg(shown));
    handles_->document = PX_new3(IgnorePxlibMessage, nullptr, nullptr, nullptr, nullptr);
    if (!handles_->document)
        throw ParadoxFileError(QStringLiteral("Brak pamięci na odczyt pliku %1.").arg(shown));
    const qint64 size = QFileInfo(path).size();
    // pxlib reads the fixed part of a header without looking at the file's length.
    if (size < 0x800 || PX_open_fp(handles_->document, handles_->table) < 0
        || !PlausibleHeader(handles_->document->px_head))
        throw ParadoxFileError(QStringLiteral("Plik %1 nie jest tabelą Paradox.").arg(shown));
    const pxhead_t *head = handles_->document->px_head;
    const qint64 expected = qint64(head->px_headersize) + qint64(head->px_fileblocks) * head->px_maxtablesize * 0x400;
    if (size < expected)
        throw ParadoxFileError(QStringLiteral("Plik %1 jest uszkodzony: ma %2 bajtów, a jego nagłówek zapowiada %3.")
                                   .arg(shown).arg(size).arg(expected));
    handles_->reads.descriptor = ::fileno(handles_->table);
    handles_->reads.size = size;
    handles_->document->errorhandler_user_data = &handles_->reads;
    handles_->document->read = ReadWindowed;
    handles_->document->seek = SeekWindowed;
    handles_->document->tell = TellWindowed;

    bool hasMemo = false;
    int offset = 0;
    for (int i = 0; i < head->px_numfields; ++i) {
        const pxfield_t &field = head->px_fields[i];
        const QString name = DecodeWindows1250(QByteArray(field.px_fname ? field.px_fname : ""));
        const std::optional<ParadoxFieldKind> kind = KindOf(field.px_ftype);
        if (!kind)
            throw ParadoxFileError(QStringLiteral("Tabela %1: pole %2 ma typ %3, którego program nie przenosi.")
                                       .arg(shown, name, KindName(field.px_ftype)));
        hasMemo = hasMemo || *kind == ParadoxFieldKind::Memo;
        fields_.append({name, *kind, field.px_flen});
        offsets_.append(offset);
        offset += field.px_flen;
    }
    if (offset != head->px_recordsize)
        throw ParadoxFileError(QStringLiteral("Plik %1 jest uszkodzony: długość rekordu nie zgadza się z polami.").arg(shown));
    handles_->record.resize(head->px_recordsize);

    if (hasMemo) {
        QString memoPath = path;
        memoPath.replace(memoPath.size() - 3, 3, QStringLiteral(".MB"));
        memoPath = ResolvePathIgnoringCase(memoPath);
        handles_->memo = std::fopen(QFile::encodeName(memoPath).constData(), "rb");
        if (!handles_->memo)
            throw ParadoxFileError(QStringLiteral("Brak pliku pól memo %1 tabeli %2.").arg(Native(memoPath), shown));
        pxblob_t *blob = PX_new_blob(handles_->document);
        if (!blob)
            throw ParadoxFileError(QStringLiteral("Brak pamięci na odczyt pliku %1.").arg(shown));
        handles_->memoStream.type = pxfIOFile;
        handles_->memoStream.mode = pxfFileRead;
        handles_->memoStream.close = px_false;
        handles_->memoStream.s.fp = handles_->memo;
        blob->mb_stream = &handles_->memoStream;
        blob->read = ReadMemoFile;
        blob->seek = SeekMemoFile;
        blob->tell = TellMemoFile;
        blob->write = RefuseWrite;
    }
}

ParadoxTableFile::~ParadoxTableFile() = default;

int ParadoxTableFile::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int ParadoxTableFile::rowCount() const
{
    return PX_get_num_records(handles_->document);
}

int ParadoxTableFile::keyFieldCount() const
{
    return handles_->document->px_head->px_primarykeyfields;
}

QList<QVariant> ParadoxTableFile::row(int row)
{
    QList<int> every(fields_.size());
    std::iota(every.begin(), every.end(), 0);
    return this->row(row, every);
}

QList<QVariant> ParadoxTableFile::row(int row, const QList<int> &wanted)
{
    pxdoc_t *document = handles_->document;
    char *record = handles_->record.data();
    if (!PX_get_record(document, row, record))
        throw ParadoxFileError(QStringLiteral("Tabela %1, wiersz %2: nie można odczytać rekordu.")
                                   .arg(Native(path_)).arg(row + 1));
    QList<QVariant> values;
    values.reserve(wanted.size());
    for (const int i : wanted) {
        char *data = record + offsets_[i];
        const int length = fields_[i].length;
        switch (fields_[i].kind) {
        case ParadoxFieldKind::Alpha: {
            char *text = nullptr;
            if (PX_get_data_alpha(document, data, length, &text) > 0 && text) {
                values.append(DecodeWindows1250(QByteArray(text, qsizetype(strnlen(text, size_t(length))))));
                document->free(document, text);
            } else {
                values.append(QVariant());
            }
            break;
        }
        case ParadoxFieldKind::Memo: {
            char *text = nullptr;
            int modification = 0;
            int size = 0;
            const int got = PX_get_data_blob(document, data, length, &modification, &size, &text);
            if (got < 0)
                throw ParadoxFileError(QStringLiteral("Tabela %1, wiersz %2, pole %3: nie można odczytać tekstu z pliku pól memo.")
                                           .arg(Native(path_)).arg(row + 1).arg(fields_[i].name));
            if (got > 0 && text && size > 0) {
                QByteArray bytes(text, size);
                // A memo may end with the terminating zero of the program that wrote it.
                while (bytes.endsWith('\0'))
                    bytes.chop(1);
                values.append(bytes.isEmpty() ? QVariant() : QVariant(DecodeWindows1250(bytes)));
            } else {
                values.append(QVariant());
            }
            if (text)
                document->free(document, text);
            break;
        }
        case ParadoxFieldKind::Date: {
            long days = 0;
            if (!IsEmptyLongField(data) && PX_get_data_long(document, data, 4, &days) > 0) {
                int year = 0, month = 0, day = 0;
                if (days > 0)
                    PX_SdnToGregorian(days + kSerialDayOfDayZero, &year, &month, &day);
                values.append(QDate(year, month, day)); // invalid when the days make no date
            } else {
                values.append(QVariant());
            }
            break;
        }
        case ParadoxFieldKind::Short: {
            short number = 0;
            values.append(PX_get_data_short(document, data, 2, &number) > 0 ? QVariant(qint64(number)) : QVariant());
            break;
        }
        case ParadoxFieldKind::Long:
        case ParadoxFieldKind::AutoIncrement: {
            long number = 0;
            values.append(!IsEmptyLongField(data) && PX_get_data_long(document, data, 4, &number) > 0
                              ? QVariant(qint64(number))
                              : QVariant());
            break;
        }
        case ParadoxFieldKind::Currency:
        case ParadoxFieldKind::Number: {
            double number = 0;
            values.append(PX_get_data_double(document, data, 8, &number) > 0 ? QVariant(number) : QVariant());
            break;
        }
        case ParadoxFieldKind::Logical: {
            char flag = 0;
            values.append(PX_get_data_byte(document, data, 1, &flag) > 0 ? QVariant(flag != 0) : QVariant());
            break;
        }
        }
    }
    return values;
}
