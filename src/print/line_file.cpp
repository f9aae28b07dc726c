#include "print/line_file.h"

#include "base/prompt.h"

#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

LineFile::LineFile(Prompt &prompt, QString openError, QString writeError)
    : prompt_(prompt), openError_(std::move(openError)), writeError_(std::move(writeError))
{
}

bool LineFile::open(const QString &path)
{
    close();
    file_.setFileName(path);
    path_ = path;
    failed_ = false;
    if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    prompt_.error(openError_ + path);
    return false;
}

bool LineFile::openDevice(const QString &path, bool namedByUser)
{
    close();
    file_.setFileName(path);
    path_ = path;
    failed_ = false;
#ifdef Q_OS_UNIX
    // Without blocking, so that opening a pipe with no reader fails at once; without O_CREAT, so
    // that a missing device never becomes a file that swallows the printout.
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    do
        fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    bool usable = false;
    if (fd >= 0) {
        struct stat info{};
        if (::fstat(fd, &info) == 0) {
            if (S_ISCHR(info.st_mode))
                usable = true;
            else if (namedByUser && S_ISFIFO(info.st_mode))
                usable = true;
            else if (namedByUser && S_ISREG(info.st_mode))
                usable = ::ftruncate(fd, 0) == 0;
        }
        // Writing waits for a slow printer as usual; only the open must not wait.
        const int flags = usable ? ::fcntl(fd, F_GETFL) : -1;
        usable = usable && flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
    }
    if (usable && file_.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    if (fd >= 0 && !file_.isOpen())
        ::close(fd);
#else
    if (file_.open(QIODevice::WriteOnly | QIODevice::ExistingOnly | (namedByUser ? QIODevice::Truncate : QIODevice::NotOpen)))
        return true;
#endif
    prompt_.error(openError_ + path);
    return false;
}

void LineFile::writeLine(const QByteArray &bytes)
{
    if (failed_ || !file_.isOpen())
        return;
    failed_ = file_.write(bytes) != bytes.size() || file_.write("\r\n", 2) != 2;
}

void LineFile::close()
{
    if (!file_.isOpen())
        return;
    failed_ = !file_.flush() || failed_;
    file_.close();
    if (failed_)
        prompt_.error(writeError_ + path_);
    failed_ = false;
}
