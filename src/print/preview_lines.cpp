#include "print/preview_lines.h"

#include <QStringEncoder>

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype kPiece = 1 << 20;
// Edited rows are stored anew; the old text is given back once it outweighs the live text.
constexpr qint64 kLeastWasteToCompact = 4 << 20;

// The listings' columns are padded with spaces: a run of them is kept as this byte and the
// run's length (three to 255); the byte itself, should a row hold it, as the byte and 0.
constexpr char kSpaces = '\x01';
constexpr int kShortestRun = 3;
constexpr int kLongestRun = 255;

// Writes the packed form of the UTF-8 text from..end to out, which has room for twice the
// text; returns where it ends.
char *Pack(const char *at, const char *const end, char *out)
{
    while (at < end) {
        if (*at == ' ') {
            const char *run = at;
            while (at < end && *at == ' ' && at - run < kLongestRun)
                ++at;
            const auto length = at - run;
            if (length >= kShortestRun) {
                *out++ = kSpaces;
                *out++ = char(length);
            } else {
                out = std::fill_n(out, length, ' ');
            }
        } else if (*at == kSpaces) {
            *out++ = kSpaces;
            *out++ = '\0';
            ++at;
        } else {
            const char *plain = at;
            while (at < end && *at != ' ' && *at != kSpaces)
                ++at;
            out = std::copy(plain, at, out);
        }
    }
    return out;
}

QString Unpack(const char *packed, qsizetype size)
{
    if (!std::memchr(packed, kSpaces, std::size_t(size)))
        return QString::fromUtf8(packed, size);
    const char *const end = packed + size;
    // A marker with a length after it stands for that many spaces (or, with 0, for itself); a
    // marker that ends the row is itself.
    const auto isRun = [end](const char *at) { return *at == kSpaces && at + 1 < end; };
    qsizetype length = 0;
    for (const char *at = packed; at < end; ++at) {
        if (isRun(at))
            length += std::max(1, int(static_cast<unsigned char>(*++at)));
        else
            ++length;
    }
    // The buffer is kept from row to row, so reading a long job allocates only its rows' texts.
    thread_local QByteArray utf8;
    utf8.resize(length);
    char *out = utf8.data();
    for (const char *at = packed; at < end;) {
        const char *plain = at;
        while (at < end && !isRun(at))
            ++at;
        out = std::copy(plain, at, out);
        if (at < end) {
            const auto run = static_cast<unsigned char>(at[1]);
            out = run == 0 ? std::fill_n(out, 1, kSpaces) : std::fill_n(out, run, ' ');
            at += 2;
        }
    }
    return QString::fromUtf8(utf8.constData(), length);
}

}  // namespace

PreviewLines::PreviewLines() = default;

PreviewLines::Ref PreviewLines::store(QStringView text)
{
    // Both buffers are kept from row to row, so a long job allocates nothing per row.
    thread_local QByteArray utf8;
    thread_local QByteArray packed;
    utf8.resize(text.size() * 3);
    QStringEncoder encoder(QStringEncoder::Utf8);
    const char *const utf8End = encoder.appendToBuffer(utf8.data(), text);
    packed.resize(2 * (utf8End - utf8.constData()));
    const QByteArrayView bytes(packed.constData(),
                               Pack(utf8.constData(), utf8End, packed.data()) - packed.constData());
    if (pieces_.isEmpty() || pieces_.last().size() + bytes.size() > kPiece) {
        pieces_.append(QByteArray());
        pieces_.last().reserve(std::max(kPiece, bytes.size()));
    }
    QByteArray &piece = pieces_.last();
    const Ref ref{std::uint32_t(pieces_.size() - 1), std::uint32_t(piece.size()),
                  std::uint32_t(bytes.size())};
    piece += bytes;
    widest_ = std::max(widest_, text.size());
    liveBytes_ += bytes.size();
    storedBytes_ += bytes.size();
    return ref;
}

QString PreviewLines::row(qsizetype index) const
{
    if (index < 0 || index > lineCount())
        return {};
    if (index == lineCount())
        return last_;
    const Ref &ref = rows_[std::size_t(index)];
    return Unpack(pieces_[ref.piece].constData() + ref.start, ref.size);
}

void PreviewLines::appendLine(QStringView line)
{
    if (last_.isEmpty()) {
        rows_.push_back(store(line));
    } else {
        rows_.push_back(store(QString(last_ + line.toString())));
        last_.clear();
    }
}

void PreviewLines::replaceRows(qsizetype first, qsizetype count, const QStringList &rows)
{
    first = std::clamp<qsizetype>(first, 0, lineCount());
    count = std::clamp<qsizetype>(count, 0, rowCount() - first);
    const bool reachesLast = first + count == rowCount();
    const qsizetype completeRemoved = reachesLast ? count - 1 : count;
    QStringList replacement = rows;
    if (reachesLast) {
        last_ = replacement.isEmpty() ? QString() : replacement.takeLast();
        widest_ = std::max(widest_, last_.size());
    }
    for (qsizetype i = 0; i < completeRemoved; ++i)
        liveBytes_ -= rows_[std::size_t(first + i)].size;
    std::vector<Ref> added;
    added.reserve(std::size_t(replacement.size()));
    for (const QString &row : replacement)
        added.push_back(store(row));
    const auto at = rows_.begin() + first;
    const qsizetype common = std::min<qsizetype>(completeRemoved, qsizetype(added.size()));
    std::copy(added.begin(), added.begin() + common, at);
    if (completeRemoved > common)
        rows_.erase(at + common, at + completeRemoved);
    else
        rows_.insert(at + common, added.begin() + common, added.end());
    compactIfWasteful();
}

void PreviewLines::compactIfWasteful()
{
    const qint64 waste = storedBytes_ - liveBytes_;
    if (waste < kLeastWasteToCompact || waste < liveBytes_)
        return;
    QList<QByteArray> old;
    old.swap(pieces_);
    const qsizetype widest = widest_;
    liveBytes_ = storedBytes_ = 0;
    for (Ref &ref : rows_)
        ref = store(Unpack(old[ref.piece].constData() + ref.start, ref.size));
    widest_ = widest;
}

QString PreviewLines::text() const
{
    QString whole;
    whole.reserve(liveBytes_ + lineCount() + last_.size());
    for (qsizetype i = 0; i < lineCount(); ++i) {
        whole += row(i);
        whole += u'\n';
    }
    whole += last_;
    return whole;
}

QString PreviewLines::linesText(qsizetype first, qsizetype last) const
{
    first = std::max<qsizetype>(first, 0);
    last = std::min(last, rowCount() - 1);
    QString lines;
    for (qsizetype i = first; i <= last; ++i) {
        lines += row(i);
        lines += u'\n';
    }
    return lines;
}

void PreviewLines::setText(const QString &text)
{
    clear();
    const QStringList rows = text.split(u'\n');
    for (qsizetype i = 0; i + 1 < rows.size(); ++i)
        appendLine(rows[i]);
    last_ = rows.last();
    widest_ = std::max(widest_, last_.size());
}

void PreviewLines::clear()
{
    pieces_.clear();
    pieces_.squeeze();
    rows_.clear();
    rows_.shrink_to_fit();
    last_.clear();
    widest_ = 0;
    liveBytes_ = storedBytes_ = 0;
    ++generation_;
}

void PreviewLines::squeeze()
{
    if (!pieces_.isEmpty())
        pieces_.last().squeeze();
    rows_.shrink_to_fit();
}
