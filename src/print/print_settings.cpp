#include "print/print_settings.h"

#include "base/text_format.h"

int ReadSettingsCount(const QString &text)
{
    bool ok = false;
    const int value = RemoveSpaces(text).toInt(&ok);
    return ok && value > 0 ? value : 0;
}

QString ParallelPortDevice(TPort port)
{
    const int index = port >= drLPT1 && port <= drLPT3 ? int(port) : 0;
#ifdef Q_OS_WIN
    return QStringLiteral("LPT%1").arg(index + 1);
#else
    return QStringLiteral("/dev/lp%1").arg(index);
#endif
}

QString DotMatrixDevice(const PrintSettings &settings)
{
    const QString override = settings.DRURZADZENIE.trimmed();
    return override.isEmpty() ? ParallelPortDevice(settings.Port) : override;
}
