#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// The text of the preview, kept compactly: the rows' characters in UTF-8 pieces of about a
// megabyte (about a byte a character for the listings' mostly plain text, the spaces that pad
// their columns kept as runs) and an index of where each row lies, so any row is read at once
// and a long job never holds a second copy of itself.
//
// The text is a sequence of rows separated by line breaks: every complete line is a row, and
// the last row is what follows the last line break (empty when the text ends with one, as a
// finished job does). So there is always at least one row.
class PreviewLines {
public:
    PreviewLines();

    qsizetype rowCount() const { return qsizetype(rows_.size()) + 1; }
    // Rows ended by a line break, the ones a printout prints.
    qsizetype lineCount() const { return qsizetype(rows_.size()); }
    QString row(qsizetype index) const;
    // The widest row seen since the text was last replaced, in characters (edits that narrow
    // a row do not lower it).
    qsizetype widestRow() const { return widest_; }
    // Changes whenever the whole text is replaced (a new job, setText, clear).
    quint64 generation() const { return generation_; }
    bool isEmpty() const { return rows_.empty() && last_.isEmpty(); }

    // Appends a complete line to the text (a job's line).
    void appendLine(QStringView line);
    // Replaces count rows from first by the given rows (at least one when the range reaches
    // the last row, which stays the fragment after the last line break).
    void replaceRows(qsizetype first, qsizetype count, const QStringList &rows);

    // Every row, separated by "\n".
    QString text() const;
    // The rows from first to last (both included), each ended by "\n".
    QString linesText(qsizetype first, qsizetype last) const;
    void setText(const QString &text);
    void clear();
    // Gives back the spare room of the last piece (the job has ended).
    void squeeze();

private:
    struct Ref {
        std::uint32_t piece;
        std::uint32_t start;
        std::uint32_t size;
    };

    Ref store(QStringView text);
    void compactIfWasteful();

    QList<QByteArray> pieces_;
    std::vector<Ref> rows_;
    // The row after the last line break, usually empty.
    QString last_;
    qsizetype widest_ = 0;
    qint64 liveBytes_ = 0;
    qint64 storedBytes_ = 0;
    quint64 generation_ = 0;
};
