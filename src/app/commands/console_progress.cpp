#include "app/commands/console_progress.h"

void ConsoleProgress::Start(const QString &title, int maximum)
{
    title_ = title;
    maximum_ = maximum;
    done_ = 0;
    lastTenth_ = -1;
    show(true);
}

void ConsoleProgress::Postep()
{
    ++done_;
    show(false);
}

void ConsoleProgress::Stop()
{
    if (title_.isEmpty())
        return;
    show(true);
    if (terminal_)
        err_ << Qt::endl;
    title_.clear();
}

void ConsoleProgress::show(bool force)
{
    const int percent = maximum_ > 0 ? int(qint64(done_) * 100 / maximum_) : 0;
    if (terminal_) {
        if (!force && sinceShown_.isValid() && sinceShown_.elapsed() < 100)
            return;
        err_ << '\r' << title_ << QStringLiteral(": %1%").arg(qMin(percent, 100)) << Qt::flush;
    } else {
        const int quarter = percent / 25;
        if (quarter == lastTenth_ || (!force && quarter == lastTenth_))
            return;
        lastTenth_ = quarter;
        err_ << title_ << QStringLiteral(": %1%").arg(qMin(percent, 100)) << Qt::endl;
    }
    sinceShown_.start();
}
