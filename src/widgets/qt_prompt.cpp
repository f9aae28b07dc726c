#include "widgets/qt_prompt.h"

#include "base/application_title.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <array>
#include <utility>

namespace {

struct ButtonText {
    QMessageBox::StandardButton button;
    const char16_t *text;
};

// The buttons speak Polish whatever translations the machine has.
constexpr std::array<ButtonText, 7> kButtonTexts{{
    {QMessageBox::Ok, u"OK"},
    {QMessageBox::Cancel, u"Anuluj"},
    {QMessageBox::Yes, u"Tak"},
    {QMessageBox::No, u"Nie"},
    {QMessageBox::Abort, u"Przerwij"},
    {QMessageBox::Retry, u"Ponów"},
    {QMessageBox::Ignore, u"Ignoruj"},
}};

constexpr std::array<std::pair<PromptButton, QMessageBox::StandardButton>, 7> kButtons{{
    {Ok, QMessageBox::Ok},
    {Cancel, QMessageBox::Cancel},
    {Yes, QMessageBox::Yes},
    {No, QMessageBox::No},
    {AbortButton, QMessageBox::Abort},
    {Retry, QMessageBox::Retry},
    {Ignore, QMessageBox::Ignore},
}};

QMessageBox::Icon ToMessageBoxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToStandardButtons(PromptButtons buttons)
{
    QMessageBox::StandardButtons result;
    for (const auto &[ours, theirs] : kButtons) {
        if (buttons & ours)
            result |= theirs;
    }
    return result ? result : QMessageBox::StandardButtons(QMessageBox::Ok);
}

PromptButton FromStandardButton(int button)
{
    for (const auto &[ours, theirs] : kButtons) {
        if (button == theirs)
            return ours;
    }
    return NoButton;
}

QString WithLineBreaks(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

}  // namespace

void NamePromptButtons(QMessageBox &box)
{
    for (const ButtonText &named : kButtonTexts)
        if (QAbstractButton *button = box.button(named.button))
            button->setText(QString::fromUtf16(named.text));
}

PromptButton QtPrompt::show(PromptIcon icon, const QString &text, PromptButtons buttons,
                            const QString &caption)
{
    QMessageBox box(ToMessageBoxIcon(icon), caption.isEmpty() ? ApplicationTitle() : caption,
                    WithLineBreaks(text), ToStandardButtons(buttons),
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    NamePromptButtons(box);
    // A short message still leaves its caption room beside the frame's own buttons.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        const int captionWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 2 + 160;
        grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    return FromStandardButton(box.exec());
}

void QtPrompt::beep()
{
    QApplication::beep();
}
