#include "print/line_file.h"

#include "base/prompt.h"

#include <utility>

LineFile::LineFile(Prompt &prompt, QString openError, QString writeError)
    : prompt_(prompt), openError_(std::move(openError)), writeError_(std::move(writeError))
{
}

bool LineFile::open(const QString &path)
{
    close();
    file_.setFileName(path);
    failed_ = false;
    if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    prompt_.error(openError_ + path);
    return false;
}

void LineFile::writeLine(const QByteArray &bytes)
{
    if (failed_ || !file_.isOpen())
        return;
    const QByteArray line = bytes + QByteArrayLiteral("\r\n");
    failed_ = file_.write(line) != line.size();
}

void LineFile::close()
{
    if (!file_.isOpen())
        return;
    failed_ = !file_.flush() || failed_;
    file_.close();
    if (failed_)
        prompt_.error(writeError_ + file_.fileName());
    failed_ = false;
}
