// Writes the user guide, kept in Markdown, as a PDF file: kasa_help_pdf GUIDE.md OUTPUT.pdf
// Pictures named in the guide are read relative to the guide's folder.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>
#include <QUrl>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        err << "użycie: kasa_help_pdf INSTRUKCJA.md WYNIK.pdf\n";
        return 2;
    }
    QFile source(arguments[1]);
    if (!source.open(QIODevice::ReadOnly)) {
        err << "Nie można odczytać pliku " << arguments[1] << '\n';
        return 1;
    }
    QTextDocument guide;
    guide.setBaseUrl(QUrl::fromLocalFile(QFileInfo(arguments[1]).absolutePath() + u'/'));
    guide.setMarkdown(QString::fromUtf8(source.readAll()));
    QFont font = guide.defaultFont();
    font.setPointSize(10);
    guide.setDefaultFont(font);

    QPdfWriter pdf(arguments[2]);
    pdf.setTitle(QStringLiteral("Kasa - instrukcja obsługi"));
    pdf.setCreator(QStringLiteral("Kasa"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 15, 20, 15),
                                  QPageLayout::Millimeter));
    pdf.setResolution(300);
    guide.print(&pdf);
    if (!QFileInfo(arguments[2]).size()) {
        err << "Nie udało się zapisać pliku " << arguments[2] << '\n';
        return 1;
    }
    return 0;
}
