#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QString>
#include <functional>

class FieldBinding;
class Prompt;
class QCheckBox;
class QGridLayout;
class QLabel;
class QTabWidget;
class QWidget;
class Table;

// "Dane o Firmie": the company row on six pages, saved with the parameter row when the window
// closes. Leaving a field of the seat address fills the empty fields of the residence address.
class TFIRMAF final : public QDialog {
    Q_OBJECT

public:
    // The logo is "logo.bmp" in the data root (the global one, which a change of year may move).
    TFIRMAF(Table &company, Table &parameters, Prompt &prompt, const QString &dataRoot, QWidget *parent = nullptr);
    ~TFIRMAF() override;

    // Modal; returns at once when the company table is not open.
    void showModal();

    // The control of a field ("ULICA"), for the tests and the screenshots.
    QWidget *control(const QString &field) const;

    QTabWidget *PageControl;
    QCheckBox *LogoCheck = nullptr;
    QLabel *LogoPicture = nullptr;
    QLabel *LogoSize = nullptr;

public slots:
    // Closing saves: typed texts go into their fields first; one that a field cannot take keeps
    // the window open.
    void done(int result) override;

private:
    QWidget *identificationPage();
    QWidget *addressPage(const QString &prefix);
    QWidget *bankPage();
    QWidget *otherPage();
    QWidget *logoPage();

    // A line edit bound to the field, refusing texts longer than the field's size; with a check
    // of its own when given.
    QWidget *textField(const QString &field, const QString &hint = QString(),
                       const std::function<QString(const QString &)> &check = {});
    QWidget *voivodeshipField(const QString &field);
    QWidget *codeChoiceField(const QString &field, const QStringList &entries);
    void addRow(QGridLayout *grid, const QString &label, QWidget *control, int column = 0, int span = 1);
    void bind(FieldBinding *binding, QWidget *control, const QString &field);

    void focusLeft(QWidget *old);
    void fillAddressFrom(const QString &field);
    void showLogo();

    Table &company_;
    Table &parameters_;
    Prompt &prompt_;
    const QString &dataRoot_;
    QPixmap logo_;
    QList<FieldBinding *> bindings_;
    QHash<QWidget *, FieldBinding *> controls_;
    QHash<QString, QWidget *> controlOfField_;
};
